#include "shell/ui/THelpFrm.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/HelpTopics.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {
const char* const kBase = "qthelp://org.plotane.manual/doc/";
const char* const kContextProperty = "helpContext";

// Copies a file when the copy is missing or differs in size or time.
bool refresh(const QString& from, const QString& to) {
  QFileInfo a(from), b(to);
  if (b.exists() && a.size() == b.size() && a.lastModified() == b.lastModified()) return true;
  QFile::remove(to);
  if (!QFile::copy(from, to)) return false;
  QFile copy(to);
  copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner);
  if (copy.open(QIODevice::ReadWrite)) {
    copy.setFileTime(a.lastModified(), QFileDevice::FileModificationTime);
    copy.close();
  }
  return true;
}
}  // namespace

void setHelpContext(QAction* action, int context) {
  if (action) action->setProperty(kContextProperty, context);
}

int helpContextOf(const QAction* action) {
  return action ? action->property(kContextProperty).toInt() : 0;
}

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
  setObjectName("HelpBrowser");
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  if (name.scheme() == "qthelp") return engine_->fileData(name);
  return QTextBrowser::loadResource(type, name);
}

QString THelpFrm::findCollection() {
  const QString dir = QCoreApplication::applicationDirPath();
  for (const char* rel : {"help", "../help", "../../help", "../share/plotane/help"}) {
    QString f = QDir(dir).filePath(QString(rel) + "/plotane.qhc");
    if (QFileInfo::exists(f)) return QFileInfo(f).canonicalFilePath();
  }
  return {};
}

THelpFrm::THelpFrm(const QString& collectionFile, QWidget* parent) : QMainWindow(parent) {
  setObjectName("HelpFrm");
  setWindowTitle("Plotane Help");
  resize(900, 640);
  restoreGeometry(QSettings("Plotane", "Plotane").value("Help/geometry").toByteArray());

  // The search keeps its index beside the collection, so work on a writable copy.
  QString collection;
  if (!collectionFile.isEmpty()) {
    QString target = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/help";
    QDir().mkpath(target);
    QFileInfo src(collectionFile);
    QString docs = src.dir().filePath("plotane.qch");
    if (refresh(docs, target + "/plotane.qch") && refresh(collectionFile, target + "/plotane.qhc"))
      collection = target + "/plotane.qhc";
  }
  engine_ = new QHelpEngine(collection, this);
  // Search results follow the filter engine's (empty) filter: the whole manual.
  engine_->setUsesFilterEngine(true);
  ready_ = !collection.isEmpty() && engine_->setupData() &&
           !engine_->registeredDocumentations().isEmpty();

  browser_ = new HelpBrowser(engine_, this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("HelpTabs");
  QHelpContentWidget* contents = engine_->contentWidget();
  contents->setObjectName("HelpContents");
  tabs_->addTab(contents, "Contents");
  QWidget* search = new QWidget(tabs_);
  search->setObjectName("HelpSearch");
  auto* layout = new QVBoxLayout(search);
  QHelpSearchEngine* se = engine_->searchEngine();
  layout->addWidget(se->queryWidget());
  layout->addWidget(se->resultWidget());
  tabs_->addTab(search, "Search");

  auto* split = new QSplitter(this);
  split->addWidget(tabs_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 3);
  setCentralWidget(split);

  auto show = [this](const QUrl& url) { browser_->setSource(url); };
  // The manual's chapters stay in view, and the contents follow the page shown.
  connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, contents,
          [contents] { contents->expandToDepth(0); });
  connect(browser_, &QTextBrowser::sourceChanged, contents, [contents](const QUrl& url) {
    QModelIndex i = contents->indexOf(url);
    if (i.isValid()) contents->setCurrentIndex(i);
  });
  connect(contents, &QHelpContentWidget::linkActivated, browser_, show);
  connect(se->queryWidget(), &QHelpSearchQueryWidget::search, se,
          [se] { se->search(se->queryWidget()->searchInput()); });
  connect(se->resultWidget(), &QHelpSearchResultWidget::requestShowLink, browser_, show);

  connect(se, &QHelpSearchEngine::indexingStarted, this, [this] { indexed_ = false; });
  connect(se, &QHelpSearchEngine::indexingFinished, this, [this] { indexed_ = true; });
  if (ready_) {
    se->reindexDocumentation();
    open(kHelpContentsPage);
  } else {
    browser_->setHtml(
        "<h1>Help is not installed</h1><p>The help collection plotane.qhc was not found "
        "beside the program or under share/plotane/help. The manual is also in the folder "
        "docs/manual of the source tree.</p>");
  }
}

void THelpFrm::hideEvent(QHideEvent* e) {
  QSettings("Plotane", "Plotane").setValue("Help/geometry", saveGeometry());
  QMainWindow::hideEvent(e);
}

void THelpFrm::open(const QString& ref) {
  if (ready_) browser_->setSource(QUrl(QString(kBase) + ref));
}

QString THelpFrm::currentTopic() const {
  QString s = browser_->source().toString();
  return s.startsWith(kBase) ? s.mid(int(qstrlen(kBase))) : s;
}

void THelpFrm::showHelp(int context) {
  if (context == Host::HelpSearch) {
    tabs_->setCurrentIndex(1);
    engine_->searchEngine()->queryWidget()->setFocus();
  } else {
    tabs_->setCurrentIndex(0);
    open(QString::fromStdString(HelpTopicRef(context)));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace plotane
