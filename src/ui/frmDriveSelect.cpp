#include "ui/frmDriveSelect.h"

#include "app/Config.h"

#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "ui/WindowHelpers.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <algorithm>

namespace varenta::ui {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int KindRole = Qt::UserRole + 1;
enum Kind { Placeholder, Place, OtherFolder };

bool Under(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool IsRemovablePlace(const QString& path) {
    return path.startsWith(QStringLiteral("/media/")) ||
           path.startsWith(QStringLiteral("/run/media/")) ||
           path.startsWith(QStringLiteral("/mnt/")) || path == QStringLiteral("/mnt");
}

// Places no data disk belongs in: the system's own areas.
bool IsSystemArea(const QString& path) {
    static const char* const areas[] = {"/boot", "/snap", "/var", "/dev", "/proc",
                                        "/sys",  "/tmp",  "/etc", "/usr", "/opt"};
    for (const char* a : areas)
        if (Under(path, QString::fromLatin1(a)))
            return true;
    return Under(path, QStringLiteral("/run")) && !Under(path, QStringLiteral("/run/media"));
}

QString LastPart(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

} // namespace

QString NormalizeFolder(const QString& path) {
    if (path.isEmpty())
        return QString();
    return QDir::cleanPath(path); // drops a trailing "/" except for the root itself
}

bool CanRememberPath(const QString& path) {
    return FilePathProblem(path).isEmpty();
}

QVector<DriveEntry> OrderDrives(const QVector<DriveEntry>& mounted, const QString& home) {
    QVector<DriveEntry> removable, fixed;
    QStringList seen;
    for (const DriveEntry& m : mounted) {
        const QString path = NormalizeFolder(m.path);
        if (path.isEmpty() || seen.contains(path) || IsSystemArea(path))
            continue;
        seen << path;
        const QString name = m.label.isEmpty() || m.label == path ? LastPart(path) : m.label;
        if (IsRemovablePlace(path)) {
            removable.push_back(
                {QStringLiteral("Removable disk %1 (%2)").arg(name, path), path, true});
        } else if (path == QStringLiteral("/")) {
            fixed.push_back({QStringLiteral("Computer's main disk (/)"), path, false});
        } else if (path != NormalizeFolder(home)) {
            fixed.push_back({QStringLiteral("Disk %1 (%2)").arg(name, path), path, false});
        }
    }
    auto byPath = [](const DriveEntry& a, const DriveEntry& b) { return a.path < b.path; };
    std::sort(removable.begin(), removable.end(), byPath);
    std::sort(fixed.begin(), fixed.end(), byPath);
    QVector<DriveEntry> out = removable;
    if (!home.isEmpty())
        out.push_back({QStringLiteral("Home folder (%1)").arg(NormalizeFolder(home)),
                       NormalizeFolder(home), false});
    out += fixed;
    return out;
}

QVector<DriveEntry> AvailableDrives() {
    QVector<DriveEntry> mounted;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady() || !QFileInfo(v.rootPath()).isDir())
            continue;
        mounted.push_back({v.displayName(), v.rootPath(), false});
    }
    return OrderDrives(mounted, QDir::homePath());
}

frmDriveSelect::frmDriveSelect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDriveSelect"));
    setWindowTitle(QStringLiteral("Select Data Drive"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(300), Twips(240), Twips(300), Twips(240));
    layout->setSpacing(Twips(150));

    auto* label = new QLabel(
        QStringLiteral("Choose the drive associated with the data disk. (Usually A: or F:)"), this);
    label->setObjectName(QStringLiteral("lblDrive"));
    layout->addWidget(label);

    drDrive_ = new QComboBox(this);
    drDrive_->setObjectName(QStringLiteral("drDrive"));
    drDrive_->setMinimumWidth(Twips(6600));
    drDrive_->setMinimumHeight(Twips(390));
    label->setBuddy(drDrive_);
    layout->addWidget(drDrive_);

    auto* hint = new QLabel(QStringLiteral("USB drives are listed first. For a data disk kept in "
                                           "a folder, choose \"Other folder...\"."),
                            this);
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    QFont small = hint->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    hint->setFont(small);
    layout->addWidget(hint);

    auto* row = new QHBoxLayout;
    row->setSpacing(Twips(180));
    cmdhelp_ = new QPushButton(QStringLiteral("Help"), this);
    cmdhelp_->setObjectName(QStringLiteral("cmdhelp"));
    cmdPrepare_ = new QPushButton(QStringLiteral("Prepare New Data Disk..."), this);
    cmdPrepare_->setObjectName(QStringLiteral("cmdPrepare"));
    cmdDone_ = new QPushButton(QStringLiteral("Done"), this);
    cmdDone_->setObjectName(QStringLiteral("cmdDone"));
    // Enter presses Done, unless another button has the focus.
    cmdDone_->setDefault(true);
    for (QPushButton* b : {cmdhelp_, cmdPrepare_, cmdDone_})
        b->setMinimumHeight(Twips(390));
    cmdDone_->setMinimumWidth(Twips(1500));
    cmdhelp_->setMinimumWidth(Twips(1200));
    row->addWidget(cmdhelp_);
    row->addWidget(cmdPrepare_);
    row->addStretch();
    row->addWidget(cmdDone_);
    layout->addSpacing(Twips(90));
    layout->addLayout(row);

    SetTabChain({drDrive_, cmdDone_, cmdhelp_, cmdPrepare_});

    chooser_ = [](QWidget* parent, const QString& title, const QString& start) {
        // The toolkit's own chooser works from the keyboard alike on every desktop.
        return QFileDialog::getExistingDirectory(
            parent, title, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    };

    connect(drDrive_, &QComboBox::activated, this, &frmDriveSelect::Activated);
    connect(cmdhelp_, &QPushButton::clicked, this, &frmDriveSelect::ShowHelp);
    connect(cmdPrepare_, &QPushButton::clicked, this, &frmDriveSelect::PrepareNewDisk);
    connect(cmdDone_, &QPushButton::clicked, this, &QDialog::accept);
}

void frmDriveSelect::RefreshDrives() {
    QSignalBlocker block(drDrive_);
    drDrive_->clear();
    QString show = lastChoice_;
    if (show.isEmpty() && fileio::IsDirectory(Globals().DataPath))
        show = NormalizeFolder(QFileInfo(Globals().DataPath).absoluteFilePath());
    if (show.isEmpty()) {
        drDrive_->addItem(QStringLiteral("(choose the drive or folder of the data disk)"));
        drDrive_->setItemData(0, QString(), PathRole);
        drDrive_->setItemData(0, Placeholder, KindRole);
    }
    for (const DriveEntry& d : AvailableDrives()) {
        drDrive_->addItem(d.label);
        drDrive_->setItemData(drDrive_->count() - 1, d.path, PathRole);
        drDrive_->setItemData(drDrive_->count() - 1, Place, KindRole);
    }
    for (const QString& folder : extraFolders_) {
        if (IndexOfPath(folder) >= 0)
            continue;
        drDrive_->addItem(QStringLiteral("Folder %1").arg(folder));
        drDrive_->setItemData(drDrive_->count() - 1, folder, PathRole);
        drDrive_->setItemData(drDrive_->count() - 1, Place, KindRole);
    }
    drDrive_->addItem(QStringLiteral("Other folder..."));
    drDrive_->setItemData(drDrive_->count() - 1, QString(), PathRole);
    drDrive_->setItemData(drDrive_->count() - 1, OtherFolder, KindRole);

    int index = 0;
    if (!show.isEmpty()) {
        index = IndexOfPath(show);
        if (index < 0)
            index = AddFolderEntry(show);
    }
    drDrive_->setCurrentIndex(index);
    shownIndex_ = index;
}

int frmDriveSelect::IndexOfPath(const QString& path) const {
    for (int i = 0; i < drDrive_->count(); ++i)
        if (drDrive_->itemData(i, KindRole).toInt() == Place &&
            drDrive_->itemData(i, PathRole).toString() == path)
            return i;
    return -1;
}

int frmDriveSelect::AddFolderEntry(const QString& path) {
    if (!extraFolders_.contains(path))
        extraFolders_ << path;
    int at = drDrive_->count() - 1; // before "Other folder..."
    if (at < 0)
        at = 0;
    QSignalBlocker block(drDrive_);
    drDrive_->insertItem(at, QStringLiteral("Folder %1").arg(path));
    drDrive_->setItemData(at, path, PathRole);
    drDrive_->setItemData(at, Place, KindRole);
    return at;
}

QString frmDriveSelect::Result() const {
    if (drDrive_->currentIndex() < 0)
        return QString();
    return drDrive_->currentData(PathRole).toString();
}

QString frmDriveSelect::ChooseDrive() {
    RefreshDrives();
    adjustSize();
    CenterForm(this);
    drDrive_->setFocus(Qt::OtherFocusReason);
    exec();
    return Result();
}

void frmDriveSelect::Choose(const QString& path) {
    const QString p = NormalizeFolder(path);
    if (p.isEmpty() || RefuseUnstorable(p))
        return;
    int index = IndexOfPath(p);
    if (index < 0)
        index = AddFolderEntry(p);
    {
        QSignalBlocker block(drDrive_);
        drDrive_->setCurrentIndex(index);
    }
    shownIndex_ = index;
    lastChoice_ = p;
}

void frmDriveSelect::Activated(int index) {
    switch (drDrive_->itemData(index, KindRole).toInt()) {
    case OtherFolder:
        ChooseOtherFolder();
        return;
    case Placeholder:
        shownIndex_ = index;
        return;
    default:
        if (RefuseUnstorable(drDrive_->itemData(index, PathRole).toString())) {
            QSignalBlocker block(drDrive_);
            drDrive_->setCurrentIndex(shownIndex_);
            return;
        }
        shownIndex_ = index;
        lastChoice_ = drDrive_->itemData(index, PathRole).toString();
        return;
    }
}

QString frmDriveSelect::StartFolder() const {
    const QString shown = drDrive_->itemData(shownIndex_, PathRole).toString();
    return shown.isEmpty() ? QDir::homePath() : shown;
}

void frmDriveSelect::ChooseOtherFolder() {
    const QString folder =
        chooser_ ? chooser_(this, QStringLiteral("Choose the Data Disk Folder"), StartFolder())
                 : QString();
    if (folder.isEmpty()) {
        QSignalBlocker block(drDrive_);
        drDrive_->setCurrentIndex(shownIndex_);
        return;
    }
    Choose(folder);
}

void frmDriveSelect::ShowHelp() {
    MsgBox(MsgLines(
        {QStringLiteral("Use the dropdown box to select the drive that the floppy data "),
         QStringLiteral("diskette or USB Flash Drive is in. Floppy drives are usually A: or"),
         QStringLiteral("B: and USB drives are usually F: or G:")}));
}

bool frmDriveSelect::RefuseUnstorable(const QString& path) {
    const QString problem = FilePathProblem(path);
    if (problem.isEmpty())
        return false;
    MsgBox(problem, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Select Data Drive"));
    return true;
}

void frmDriveSelect::PrepareNewDisk() {
    const QString title = QStringLiteral("Prepare New Data Disk");
    const QString chosen =
        chooser_
            ? chooser_(this, QStringLiteral("Choose or Create the Folder for the New Data Disk"),
                       StartFolder())
            : QString();
    const QString folder = NormalizeFolder(chosen);
    if (folder.isEmpty() || RefuseUnstorable(folder))
        return;
    if (MsgBox(MsgLines({QStringLiteral("Prepare a new, empty data disk in this folder?"),
                         QString(), folder, QString(),
                         QStringLiteral("The marker file %1 and an empty client data file %2 "
                                        "will be written there; nothing else is changed.")
                             .arg(QString::fromLatin1(MarkerFileName),
                                  QString::fromLatin1(DataFileName))}),
               MsgButtons::YesNo, MsgIcon::Question, title) != MsgAnswer::Yes)
        return;
    try {
        PrepareDataDisk(folder);
    } catch (const VError& e) {
        MsgBox(MsgLines({QStringLiteral("No data disk was prepared."), QString(), e.description()}),
               MsgButtons::Ok, MsgIcon::Critical, title);
        return;
    }
    MsgBox(MsgLines({QStringLiteral("The new data disk is ready:"), folder, QString(),
                     QStringLiteral("Choose Done to use it.")}),
           MsgButtons::Ok, MsgIcon::Information, title);
    Choose(folder);
    cmdDone_->setFocus(Qt::OtherFocusReason);
}

void frmDriveSelect::done(int r) {
    // The close box and Escape act like Done: the loop always takes the shown entry.
    Q_UNUSED(r);
    QDialog::done(QDialog::Accepted);
}

} // namespace varenta::ui
