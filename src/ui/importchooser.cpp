#include "ui/importchooser.h"

#include "ui/palette.h"
#include "ui/twips.h"
#include "ui/widgetfactory.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace cr::ui {

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

ImportChooser::ImportChooser(QWidget* parent)
    : QGroupBox(QStringLiteral("Import Permanenz"), parent) {
    setObjectName(QStringLiteral("Frame1"));
    setGeometry(twipRect(7320, 240, 2115, 6870));
    setFont(windowFont(8.25, true));
    setColours(this, colours::kBackground, colours::kDarkBlue);

    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setGeometry(twipRect(105, 420, 1905, 315));
    m_dirs = new QListWidget(this);
    m_dirs->setObjectName(QStringLiteral("Dir1"));
    m_dirs->setGeometry(twipRect(120, 1785, 1905, 1440));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setGeometry(twipRect(90, 3465, 1905, 2235));
    for (QWidget* list : {static_cast<QWidget*>(m_drives), static_cast<QWidget*>(m_dirs),
                          static_cast<QWidget*>(m_files)}) {
        list->setFont(windowFont(8.25, false));
        list->setPalette(QPalette());
    }
    m_ok = makeButton(this, QStringLiteral("okexternok"), QStringLiteral("OK"), QString(),
                      twipRect(210, 6090, 750, 330), 8.25);
    m_ok->setEnabled(false);
    m_cancel = makeButton(this, QStringLiteral("okexternabbruch"), QStringLiteral("Abbr."),
                          QString(), twipRect(1155, 6090, 750, 330), 8.25);
    makeHeading(this, QStringLiteral("Label10"), QStringLiteral("*.txt"),
                twipRect(735, 1260, 435, 225), colours::kDarkBlue);

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { chooseDrive(m_drives->itemText(index)); });
    connect(m_dirs, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openDirectory(item->data(kPathRole).toString()); });
    connect(m_files, &QListWidget::itemClicked, this, [this] { fileSelectionMoved(); });
    connect(m_files, &QListWidget::currentRowChanged, this, [this] { fileSelectionMoved(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { emit importRequested(chosenPath()); });
    connect(m_cancel, &QPushButton::clicked, this, &ImportChooser::cancelled);

    fillDrives();
    openDirectory(QDir::currentPath());
}

QStringList ImportChooser::drives() const {
    QStringList roots;
    for (int i = 0; i < m_drives->count(); ++i) {
        roots << m_drives->itemText(i);
    }
    return roots;
}

QString ImportChooser::currentDrive() const {
    return m_drives->currentText();
}

QStringList ImportChooser::files() const {
    QStringList names;
    for (int i = 0; i < m_files->count(); ++i) {
        names << m_files->item(i)->text();
    }
    return names;
}

QString ImportChooser::selectedFile() const {
    const QList<QListWidgetItem*> selected = m_files->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

void ImportChooser::chooseDrive(const QString& root) {
    const int index = m_drives->findText(root);
    if (index < 0) {
        return;
    }
    m_drives->setCurrentIndex(index);
    openDirectory(root); // an unreadable drive leaves the lists where they were
}

bool ImportChooser::openDirectory(const QString& path) {
    const QFileInfo info(path);
    const QDir dir(info.absoluteFilePath());
    if (!info.isDir() || !dir.isReadable() || !QFileInfo(dir.absolutePath()).isExecutable()) {
        return false;
    }
    m_directory = QDir::cleanPath(dir.absolutePath());
    fillDirectories();
    fillFiles();
    return true;
}

QString ImportChooser::chosenPath() const {
    QString path = m_directory;
    if (!path.endsWith(QDir::separator()) && !path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    return path + selectedFile();
}

void ImportChooser::fillDrives() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            roots << volume.rootPath();
        }
    }
    const QString here = QStorageInfo(QDir::currentPath()).rootPath();
    if (!here.isEmpty() && !roots.contains(here)) {
        roots << here;
    }
    roots.removeDuplicates();
    roots.sort();
    m_drives->clear();
    m_drives->addItems(roots);
    m_drives->setCurrentIndex(static_cast<int>(std::max<qsizetype>(0, roots.indexOf(here))));
}

// The path from the root down to the directory, then its subdirectories,
// each indented one step further, as a tree that is open along the path.
void ImportChooser::fillDirectories() {
    m_dirs->clear();
    QStringList chain;
    for (QDir d(m_directory);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp()) {
            break;
        }
    }
    int depth = 0;
    for (const QString& step : chain) {
        const QString name = QDir(step).isRoot() ? step : QFileInfo(step).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, m_dirs);
        item->setData(kPathRole, step);
        ++depth;
    }
    m_dirs->setCurrentRow(static_cast<int>(chain.size()) - 1);
    const QStringList subdirs =
        QDir(m_directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& sub : subdirs) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, m_dirs);
        item->setData(kPathRole, QDir(m_directory).absoluteFilePath(sub));
    }
}

void ImportChooser::fillFiles() {
    // Refilling is no selection: the OK button keeps its state.
    const QSignalBlocker quiet(m_files);
    m_files->clear();
    const QStringList names =
        QDir(m_directory).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    m_files->addItems(names);
    m_files->setCurrentRow(-1);
    m_files->clearSelection();
}

void ImportChooser::fileSelectionMoved() {
    m_ok->setEnabled(m_files->count() > 0);
}

} // namespace cr::ui
