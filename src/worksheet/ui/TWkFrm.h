#pragma once
// The worksheet window: the grid SG1 over the worksheet model, the column-name list, the labels
// and display switches, the "Select Column(s)" group through which every command asks for
// columns, the menus that reach every worksheet, store and column command, and the worksheet's
// dialogs. It implements the WorksheetView the model reports its changes to.

#include <functional>

#include <QString>

#include "shell/ui/WorkWindow.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetDialogs.h"

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace plotane {

class WkGridModel;
class WkGridView;

// The six file dialogs of the File menu.
enum class WkFile { AttachDsf, CreateDsf, OpenTxt, SaveTxt, OpenWks, SaveWks };

class TWkFrm : public TWorkFrm, public WorksheetView {
  Q_OBJECT
 public:
  explicit TWkFrm(AppContext& ctx, QWidget* parent = nullptr);
  ~TWkFrm() override;

  // Unsaved column data: asks whether to return to the worksheet.
  bool FormCloseQuery() override;
  void FormClose() override;

  // The file dialog for one of the File menu's commands, set up with its title, filter,
  // default extension and must-exist or overwrite rule (not shown).
  QFileDialog* makeFileDialog(WkFile which);
  // Chooses a file; the full path, or empty on Cancel. Tests replace it.
  std::function<QString(WkFile)> chooseFile;

  WkGridView* grid() const { return grid_; }
  WkGridModel* gridModel() const { return model_; }
  QListWidget* columnList() const { return list_; }

  // ---- WorksheetView ----
  void cellChanged(int column, int index) override;
  void columnChanged(int column) override;
  void columnListChanged() override;
  void xvalsChanged() override;
  void useLimitsChanged() override;
  void requestChanged() override;
  bool currentEditText(std::string& text) override;
  bool askDecimalSpec(int& format) override;
  bool hasNameDialog() const override { return true; }
  bool nameDialog(Worksheet& ws, int column) override;
  void storeLocationChanged() override;

 protected:
  void hideEvent(QHideEvent* e) override;
  // The window's own close button: the close question, then every column erased.
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void buildBody();
  void buildMenus();
  QAction* item(QMenu* menu, const QString& text, std::function<void()> f, int help = 0);
  QMenu* submenu(QMenu* menu, const QString& text, int help = 0);
  void commit();
  // The series dialog; false on Cancel.
  bool seriesDialog(SeriesDialogKind kind, const std::string& prompt, const std::string& initial,
                    std::string& result);
  void fillRequestEdits();
  void okClicked();
  void cancelClicked();
  void escape();
  void focusMoved(QWidget* old, QWidget* now);
  bool inGrid(QWidget* w) const;
  void saveGeometrySetting();

  Worksheet& ws_;
  WkGridModel* model_ = nullptr;
  WkGridView* grid_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel *xnameLbl_ = nullptr, *rowUseLbl_ = nullptr, *label4_ = nullptr, *dsdirLbl_ = nullptr;
  QCheckBox *yofx_ = nullptr, *xauto_ = nullptr;
  QGroupBox* csel_ = nullptr;
  QLineEdit *edit1_ = nullptr, *edit2_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton *ok_ = nullptr, *cancel_ = nullptr;
  // Set once the program's close sequence agreed: the window then goes without asking again.
  bool programClosing_ = false;
};

}  // namespace plotane
