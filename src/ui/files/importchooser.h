// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QLabel;

namespace cr::ui {

// The import chooser frame: a drive list, a directory list and a list of the
// "*.txt" files of the chosen directory, over the real file system. It knows
// nothing of the run; it reports a chosen file or a cancel.
class ImportChooser final : public QGroupBox {
    Q_OBJECT
public:
    explicit ImportChooser(QWidget* parent);

    QStringList drives() const;
    QString currentDrive() const;
    QString directory() const { return m_directory; }
    QStringList files() const;
    QString selectedFile() const; // empty when none is selected
    QListWidget* fileList() const { return m_files; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // What a user does in the frame.
    void chooseDrive(const QString& root);
    bool openDirectory(const QString& path); // false when it cannot be read
    // The path "OK" imports: the directory, a separator, the selected file.
    QString chosenPath() const;
    // The same as the system names it: exact even for a file name that is
    // no valid UTF-8 (which the list shows with its odd bytes as \xNN).
    QByteArray chosenNativePath() const;

signals:
    void importRequested(const QString& path);
    void cancelled();

private:
    void fillDrives();
    void fillDirectories();
    void fillFiles();
    void addUndecodableFiles();
    void fileSelectionMoved();

    QComboBox* m_drives = nullptr;
    QListWidget* m_dirs = nullptr;
    QListWidget* m_files = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_directory;
};

} // namespace cr::ui
