#pragma once
// The script window ("Run EBT"): the script text, which follows the interpreter while it runs,
// the parameter grid, Open and Save, the Commands and Parameters edits with OK and Cancel, and
// Run (F9), Step (F8) and Reset. Always on top; hidden until asked for.

#include <functional>

#include <QMainWindow>

class QAction;
class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;

namespace plotane {

class AppContext;

class TBatFrm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TBatFrm(AppContext& ctx, QWidget* parent = nullptr);
  ~TBatFrm() override;

  // Shows the window in front (the worksheet's "Run EBT").
  void showRunEbt();

  // The file-dialog parts of Open and Save, also used without the dialogs.
  bool openFile(const QString& fileName);
  bool saveFile(const QString& fileName);

  // Brings every control in line with the interpreter's state.
  void refresh();

  QPlainTextEdit* textArea() const { return text_; }
  QTableWidget* paramGrid() const { return grid_; }
  QAction* runAction() const { return run_; }
  QAction* stepAction() const { return step_; }
  QAction* okAction() const { return ok_; }
  QAction* cancelAction() const { return cancel_; }
  QAction* resetAction() const { return reset_; }
  QAction* openAction() const { return open_; }
  QAction* saveAction() const { return save_; }
  QAction* editCommandsAction() const { return editCommands_; }
  QAction* editParametersAction() const { return editParameters_; }
  QAction* hideAction() const { return hide_; }

  // Told when a run, an Open or a Save starts (true) and ends (false): the shell parents message
  // boxes here then, as this window stays on top.
  std::function<void(bool)> onRunning;

 protected:
  void hideEvent(QHideEvent* e) override;

 private:
  void openClicked();
  void saveClicked();
  void editCommandsClicked();
  void editParametersClicked();
  void okClicked();
  void cancelClicked();
  void runClicked();
  void stepClicked();
  void resetClicked();
  void runWith(void (*what)(AppContext&));
  // Shows the interpreter's reading position and repaints at once (a run holds the event loop).
  void followPosition();
  void loadTextFromRunner();
  void loadGridFromRunner();
  std::string editedText() const;
  void commitGridEdit();

  AppContext& ctx_;
  QStackedWidget* stack_;
  QPlainTextEdit* text_;
  QTableWidget* grid_;
  QAction *open_, *save_, *hide_, *editCommands_, *editParameters_;
  QAction *run_, *step_, *reset_, *ok_, *cancel_;
  bool running_ = false;
  bool loadingGrid_ = false;
};

}  // namespace plotane
