#pragma once
// The help window: the manual's Qt Help collection with its contents and full-text search beside
// a page browser. Opened at the contents, at the search, or at the topic of a help context
// number (F1 on a menu item whose action carries one).

#include <QMainWindow>
#include <QTextBrowser>
#include <QUrl>

class QAction;
class QHelpEngine;
class QTabWidget;

namespace plotane {

// Menu items carry their help context number here; F1 on a highlighted item opens it.
void setHelpContext(QAction* action, int context);
int helpContextOf(const QAction* action);

class HelpBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  HelpBrowser(QHelpEngine* engine, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  QHelpEngine* engine_;
};

class THelpFrm : public QMainWindow {
  Q_OBJECT
 public:
  // `collectionFile`: the built or installed plotane.qhc; it is copied with its documentation to
  // a writable folder, where the search keeps its index.
  explicit THelpFrm(const QString& collectionFile, QWidget* parent = nullptr);

  // The collection shipped with the program: beside it (build tree) or under share/plotane/help.
  static QString findCollection();

  // False when the collection could not be opened (the window then says so).
  bool ready() const { return ready_; }
  // The search index is built (in the background after the window is made).
  bool indexed() const { return indexed_; }
  // Contents (0), search (-1) or a help context number.
  void showHelp(int context);

  QHelpEngine* engine() const { return engine_; }
  HelpBrowser* browser() const { return browser_; }
  QTabWidget* tabs() const { return tabs_; }
  // The page shown, relative to the manual ("drawing.html#graph").
  QString currentTopic() const;

 protected:
  void hideEvent(QHideEvent* e) override;

 private:
  void open(const QString& ref);

  QHelpEngine* engine_ = nullptr;
  HelpBrowser* browser_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  bool ready_ = false;
  bool indexed_ = false;
};

}  // namespace plotane
