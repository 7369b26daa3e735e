#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace varenta::ui {

// A place the data disk can be: a mounted volume or a folder.
struct DriveEntry {
    QString label;
    QString path; // without a trailing "/"
    bool removable = false;
};

// The mounted volumes as the dialog offers them: removable ones (under /media, /run/media,
// /mnt) first, then the home folder and the other volumes; system areas are left out.
QVector<DriveEntry> AvailableDrives();
// The ordering and naming rule alone, for given mount points and names.
QVector<DriveEntry> OrderDrives(const QVector<DriveEntry>& mounted, const QString& home);

// A folder path as the program keeps it: clean, absolute parts kept, no trailing "/".
QString NormalizeFolder(const QString& path);

// Whether the configuration file can give the path back unchanged at the next start (see
// FilePathProblem: no line breaks or blanks at the ends, only the Windows code page).
bool CanRememberPath(const QString& path);

// The dialog that chooses the data disk. It is made once and kept, so it remembers the last
// choice. Its result is the path of the entry it shows; empty when nothing is chosen.
class frmDriveSelect : public QDialog {
    Q_OBJECT
public:
    // Shows a folder chooser; returns the folder or an empty text when cancelled.
    using FolderChooser =
        std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

    explicit frmDriveSelect(QWidget* parent = nullptr);

    // Refreshes the list, shows the dialog modally and returns its result.
    QString ChooseDrive();
    QString Result() const;

    // Selects a folder as if the user had chosen it (adding it to the list when missing).
    void Choose(const QString& path);
    void SetFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }
    // Rebuilds the list of drives (each time the dialog is shown).
    void RefreshDrives();

    QComboBox* drDrive() const { return drDrive_; }
    QPushButton* cmdhelp() const { return cmdhelp_; }
    QPushButton* cmdDone() const { return cmdDone_; }
    QPushButton* cmdPrepare() const { return cmdPrepare_; }

public slots:
    void done(int r) override;

private:
    void Activated(int index);
    void ShowHelp();
    void ChooseOtherFolder();
    void PrepareNewDisk();
    // A folder the configuration file could not give back is refused when it is chosen,
    // saying why; true when it was.
    bool RefuseUnstorable(const QString& path);
    int IndexOfPath(const QString& path) const;
    int AddFolderEntry(const QString& path);
    QString StartFolder() const;

    QComboBox* drDrive_;
    QPushButton* cmdhelp_;
    QPushButton* cmdDone_;
    QPushButton* cmdPrepare_;
    FolderChooser chooser_;
    QString lastChoice_;       // what the user last chose; empty until a first choice
    QStringList extraFolders_; // folders chosen that are not mounted volumes
    int shownIndex_ = 0;
};

} // namespace varenta::ui
