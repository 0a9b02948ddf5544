// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/importchooser.h"

#include "ui/common/palette.h"
#include "ui/common/twips.h"
#include "ui/common/widgetfactory.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace cr::ui {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kNativeNameRole = Qt::UserRole + 1; // set for names that are no valid UTF-8

// A file name for the list: its odd bytes written as \xNN.
QString shownName(const std::string& bytes) {
    QString shown;
    for (qsizetype i = 0; i < static_cast<qsizetype>(bytes.size());) {
        // The longest stretch from i that decodes and encodes back unchanged.
        qsizetype length = 4;
        for (; length > 0; --length) {
            const QByteArray piece = QByteArray::fromStdString(bytes.substr(i, length));
            if (piece.size() == length && QFile::encodeName(QFile::decodeName(piece)) == piece) {
                break;
            }
        }
        if (length == 0) {
            shown += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(bytes[i]), 2, 16,
                                                 QLatin1Char('0'));
            ++i;
        } else {
            shown += QFile::decodeName(QByteArray::fromStdString(bytes.substr(i, length)));
            i += length;
        }
    }
    return shown;
}

bool endsInTxt(const std::string& name) {
    return name.size() >= 4 && QByteArray::fromStdString(name.substr(name.size() - 4))
                                       .compare(".txt", Qt::CaseInsensitive) == 0;
}

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

QByteArray ImportChooser::chosenNativePath() const {
    const QList<QListWidgetItem*> selected = m_files->selectedItems();
    const QVariant native =
        selected.isEmpty() ? QVariant() : selected.front()->data(kNativeNameRole);
    if (!native.isValid()) {
        return QFile::encodeName(chosenPath());
    }
    QByteArray path = QFile::encodeName(m_directory);
    if (!path.endsWith('/')) {
        path += '/';
    }
    return path + native.toByteArray();
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
    addUndecodableFiles();
    m_files->setCurrentRow(-1);
    m_files->clearSelection();
}

// Names that are no valid UTF-8 the directory listing above leaves out; they
// are files all the same, listed after the others and opened by their bytes.
void ImportChooser::addUndecodableFiles() {
    std::error_code ec;
    std::filesystem::directory_iterator entries(QFile::encodeName(m_directory).toStdString(), ec);
    std::vector<std::string> odd;
    for (; !ec && entries != std::filesystem::directory_iterator(); entries.increment(ec)) {
        const std::string name = entries->path().filename().native();
        const QByteArray bytes = QByteArray::fromStdString(name);
        std::error_code kind;
        if (endsInTxt(name) && QFile::encodeName(QFile::decodeName(bytes)) != bytes &&
            entries->is_regular_file(kind)) {
            odd.push_back(name);
        }
    }
    std::sort(odd.begin(), odd.end());
    for (const std::string& name : odd) {
        auto* item = new QListWidgetItem(shownName(name), m_files);
        item->setData(kNativeNameRole, QByteArray::fromStdString(name));
    }
}

void ImportChooser::fileSelectionMoved() {
    m_ok->setEnabled(m_files->count() > 0);
}

} // namespace cr::ui
