// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The main window. Its controls and F fields are public, like a form's
// published fields, so the other units of the window and the tests read them.
// The implementation is split by concern: main_unit.cpp (layout, lifecycle,
// settings), main_unit_player.cpp (status poll, lists, usage),
// main_unit_queue.cpp (queue and the commands that fill it), main_unit_import.cpp
// (import of new recordings), main_unit_pc.cpp (PC pane commands, Help).
#pragma once

#include "device/nerolink.h"
#include "queue/copy_job.h"
#include "queue/import_run.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class FileDrop;
class FolderTree;
class FolderView;
class ImportMemory;
class IniFile;
struct IniEntry;
class ListenSession;
class PlayBar;
class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QSplitter;
class QSplitterHandle;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ThreadDoneEvent;
class VoiceConversionThread;

// A player file as a command chose it, copied out of its list item so that a
// refresh while the command's dialogs are open cannot change what it acts on.
struct PlayerFilePick {
    QString caption;         // the display name as the list shows it
    std::string displayName; // the same, in the record's bytes
    std::string shortName;   // the name the device library knows it by
    int32_t target = 0;      // mtInternal or mtCard
    int64_t size = 0;        // from the list's size text
};

class TForm_TovixMan : public QMainWindow {
    Q_OBJECT

public:
    // settingsFile defaults to "settings.ini" beside the program.
    explicit TForm_TovixMan(const QString &settingsFile = defaultSettingsPath(),
                            QWidget *parent = nullptr);
    ~TForm_TovixMan() override;

    static QString defaultSettingsPath();
    QString settingsPath() const { return FSettingsPath; }

    // ---- Window state -------------------------------------------------
    bool FJobRunning = false;
    bool FJobDone = false;
    int32_t FJobResult = 0;
    bool FConnected = false;
    uint32_t FLastStatus = 0xFFFFFFFF;
    bool FCardPresent = false;
    bool FClosing = false;
    bool FDeviceBusy = false;
    bool FConverting = false; // an uploaded recording is being converted
    int32_t FReservedInternal = 0;
    int32_t FReservedCard = 0;
    TCopyJob FCurrentJob;
    TMemoryInfo FInternalInfo = {};
    TMemoryInfo FCardInfo = {};
    // Queue lines whose device call failed since the queue last ran empty.
    QStringList FFailedOperations;
    // How long closing waits for a running device call before offering to quit anyway,
    // and how it quits then (ends the process; tests replace it).
    int FCloseWaitMs = 10000;
    std::function<void()> FQuitWithoutWaiting;

    // ---- Menus ---------------------------------------------------------
    QMenu *Menu_File = nullptr;
    QAction *NewFolder1 = nullptr;
    QAction *Delete1 = nullptr;
    QAction *Rename1 = nullptr;
    QAction *Menu_Exit = nullptr;

    QMenu *Menu_OperationGroup = nullptr;
    QAction *MainMenu_DownloadToPlayer = nullptr;
    QAction *MainMenu_UploadFromPlayer = nullptr;
    QAction *MainMenu_ImportRecordings = nullptr;
    QAction *MainMenu_ImportOnArrival = nullptr; // checkable
    QAction *MainMenu_Remove = nullptr;
    QAction *MainMenu_RemoveAll = nullptr;
    QAction *MainMenu_Format = nullptr;
    QAction *MainMenu_FormatAll = nullptr;
    QAction *MainMenu_Cancel = nullptr;
    QAction *MainMenu_CancelAll = nullptr;

    QMenu *Menu_Listen = nullptr;
    QAction *MainMenu_PlayPause = nullptr;
    QAction *MainMenu_Stop = nullptr;
    QAction *MainMenu_Back = nullptr;
    QAction *MainMenu_Forward = nullptr;
    QAction *MainMenu_Slower = nullptr;
    QAction *MainMenu_Faster = nullptr;
    QAction *MainMenu_RewindOnPause = nullptr; // checkable
    QMenu *Menu_RewindSeconds = nullptr;         // how far a pause goes back, 0 to 10 s
    QAction *MainMenu_GoTo = nullptr;
    QAction *Menu_PlayPc = nullptr;              // the PC files' context menu
    QAction *Menu_PlayPlayer = nullptr;          // the player lists' context menu

    QMenu *Menu_View = nullptr;
    QMenu *Explorer1 = nullptr;
    QActionGroup *ViewStyleGroup = nullptr;
    QAction *MainMenu_BigIcon = nullptr;
    QAction *MainMenu_SmallIcon = nullptr;
    QAction *MainMenu_ListView = nullptr;
    QAction *MainMenu_ReportView = nullptr;

    QMenu *Menu_Help = nullptr;
    QAction *pelunHomepage1 = nullptr;
    QAction *Menu_About = nullptr;

    // Context menu of the three player lists.
    QMenu *PopupMenu_Remove = nullptr;
    QAction *UploadselectedfilesinPlayertoPC1 = nullptr;
    QAction *UploadallfilesinPlayertoPC1 = nullptr;
    QAction *Menu_RemovePlayerFiles = nullptr;
    QAction *Menu_RemoveAllPlayerFiles = nullptr;
    QAction *Menu_Format = nullptr;
    QAction *Menu_FormatAll = nullptr;
    QMenu *PopupMenu_View = nullptr;

    // Context menu of the queue list.
    QMenu *PopupMenu_CopyList = nullptr;
    QAction *Menu_RemoveQueue = nullptr;
    QAction *Menu_RemoveAllQueue = nullptr;

    // ---- File manager area -----------------------------------------------
    QWidget *Panel_FileManager = nullptr;
    QSplitter *Splitter_Panes = nullptr; // holds the PC pane and the player pane
    QSplitterHandle *Splitter_TovixAndExplorer = nullptr;
    QToolButton *Button_Download = nullptr;
    QToolButton *Button_Upload = nullptr;

    // PC pane
    QWidget *Panel_Explorer = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton4 = nullptr;
    QToolButton *Button_BigIcon = nullptr;
    QToolButton *Button_SmallIcon = nullptr;
    QToolButton *Button_ListView = nullptr;
    QToolButton *Button_ReportView = nullptr;
    QSplitter *Splitter_TreeAndFolder = nullptr;
    ::FolderTree *FolderTree = nullptr;
    ::FolderView *FolderView = nullptr;

    // Player pane
    QWidget *Panel_FileListInMemory = nullptr;
    QToolBar *ToolBar2 = nullptr;
    QToolButton *Button_Refresh = nullptr;
    QToolButton *Button_Delete = nullptr;
    QToolButton *Button_Format = nullptr;
    QToolButton *Button_Import = nullptr;
    QTabWidget *TabControl_PlayerFiles = nullptr;
    QWidget *Tab_All = nullptr;
    QWidget *Tab_InternalFiles = nullptr;
    QWidget *Tab_ExternalFiles = nullptr;
    QTreeWidget *FileList_All = nullptr;
    QTreeWidget *FileList_Internal = nullptr;
    QTreeWidget *FileList_External = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label_NotExists = nullptr;
    QWidget *Panel_MemoryUsage = nullptr;
    QLabel *MemoryUsageLabel_Internal = nullptr;
    QProgressBar *MemoryUsage_Internal = nullptr;
    QLabel *MemoryUsageLabel_External = nullptr;
    QProgressBar *MemoryUsage_External = nullptr;

    // Queue
    QWidget *Panel_CopyProgress = nullptr;
    QListWidget *CheckList_CopyProgress = nullptr;
    QProgressBar *ProgressBar_Busy = nullptr; // indeterminate while an operation runs
    QLabel *Label_Elapsed = nullptr;          // elapsed time of the running line

    // Listening
    ::PlayBar *PlayBar_Listen = nullptr;

    // Status bar: four panels, widths 100, 140, 120 and the rest.
    QLabel *StatusPanels[4] = {};
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString &text);

    // ---- Non-visual members ------------------------------------------------
    QTimer *Timer_CheckPlayer = nullptr;
    QTimer *Timer_Transfer = nullptr;
    ::FileDrop *FileDrop = nullptr;

    // Raises the window and shows the first recording of paths selected in the PC pane;
    // names the files that are not recordings (main_unit_open.cpp).
    void openFiles(const QStringList &paths);

    // The tag of the active player page (0 All, 1 Internal Memory, 2 Memory Card) and its list.
    int activePageTag() const;
    QTreeWidget *activePageList() const;

    // Widths of the PC pane and of the folder tree (as set, until the window has been laid out).
    int explorerWidth() const;
    int folderTreeWidth() const;

public slots:
    // ---- Lifecycle (main_unit.cpp) ----------------------------------------
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void FormDestroy();
    void FormResize();
    void Splitter_TovixAndExplorerMoved();
    void Menu_ExitClick();

    // ---- Player state (main_unit_player.cpp) --------------------------------
    void Timer_CheckPlayerTimer(QTimer *sender);
    void RefreshPlayerFiles();
    void UpdateMemoryUsage();
    void Button_RefreshClick();
    void FileList_AllKeyDown(int key);
    void FileList_ColumnClick(QTreeWidget *list, int column);
    void Panel_MemoryUsageResize();
    // Files the last refresh of a memory could not list, the record being full;
    // 0 for a card that is not there.
    uint32_t hiddenPlayerFiles(int32_t target) const;
    QString hiddenFilesNote() const;

    // ---- Queue and player operations (main_unit_queue.cpp) ------------------
    void Timer_TransferTimer();
    void OnThreadDone(ThreadDoneEvent *message);
    void MainMenu_CancelClick();
    void MainMenu_CancelAllClick();
    void ConvertVoiceFile(const QString &voicePath);
    // The path's bytes as the upload wrote them: a name the system's encoding
    // cannot spell is still the file the upload made.
    void ConvertVoiceFile(const std::string &voicePath);
    // The busy bar's percentage and the elapsed time while a recording converts.
    void showConversionProgress(std::uint64_t doneBytes, std::uint64_t totalBytes);
    void MainMenu_DownloadToPlayerClick();
    void FileDropDrop(const QStringList &paths, const QPoint &clientPos,
                      const QStringList &refused = {});
    void MainMenu_UploadFromPlayerClick();
    void UploadallfilesinPlayertoPC1Click();
    void RemoveClick();
    void RemoveAllClick();
    void Menu_FormatClick();
    void Menu_FormatAllClick();

    // ---- Import of new recordings (main_unit_import.cpp) ---------------------
    void MainMenu_ImportRecordingsClick();
    void MainMenu_ImportOnArrivalClick(bool checked);

    // ---- Listening (main_unit_listen.cpp) ------------------------------------
    void MainMenu_PlayPauseClick();
    void MainMenu_StopClick();
    void MainMenu_BackClick();
    void MainMenu_ForwardClick();
    void MainMenu_SlowerClick();
    void MainMenu_FasterClick();
    void MainMenu_GoToClick();
    // Plays a recording on the PC from its start; a player recording's copy
    // is shown under the recording's own name.
    void listenToFile(const QString &path, const QString &shownName = QString());

    // ---- PC pane and Help (main_unit_pc.cpp) ---------------------------------
    void ToolButton4Click();
    void Button_BigIconClick();
    void Button_SmallIconClick();
    void Button_ListViewClick();
    void Button_ReportViewClick();
    void NewFolder1Click();
    void Rename1Click();
    void Delete1Click();
    void FolderViewKeyDown(int key);
    void FolderTreeKeyDown(int key);
    void pelunHomepage1Click();
    void Menu_AboutClick();

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // main_unit_layout.cpp
    void buildLayout();
    void createActions();
    void createMenus();
    void createPopupMenus();
    void createPcPane();
    void createTransferBar();
    void createPlayerPane();
    void createUsagePanel();
    QWidget *createPlayerPage(QTreeWidget *&list, QLabel *&label, const QString &labelText,
                              const QStringList &columns, const QString &hint);
    void createQueuePanel();
    void createStatusBar();
    void createTimers();
    void nameControls();
    // main_unit.cpp
    void connectPcPane();
    void readSettings();
    void writeSettings();
    void placeTransferButtons();
    void setViewStyleChecked(int style);
    void deleteTreeFolder();

    // main_unit_player.cpp (the poll) and main_unit_lists.cpp (lists, usage, ordering)
    void playerArrived(const TPlayerVersion &version);
    void playerDeparted();
    void statusChanged(uint32_t status);
    void refreshWithinPoll();
    void setPlayerControlsEnabled(bool enabled);
    void setCardSideEnabled(bool enabled);
    void connectPlayerPane();
    void rememberSortIndicators();
    void showHiddenPlayerFiles();
    QString formatQuestion(bool internal, bool card) const;

    // main_unit_queue.cpp
    void connectQueueCommands();
    void appendQueueLine(const QString &text, TCopyJob *job);
    void showQueuePanel();
    void settleReservation(const TCopyJob &job, bool completed);
    int32_t queuedReservation(int32_t target) const;
    void startNextJob();
    void completeJob();
    void finishJob();
    void updateBusyIndicator();
    int32_t &reservationOf(int32_t target);
    const TMemoryInfo &memoryInfoOf(int32_t target) const;
    void cancelLines(bool all);
    void cancelLine(class QListWidgetItem *line);
    void waitForRunningJob();
    void releaseQueueOnDestroy();
    void refuseFile(const QString &text);
    void noteFailedOperation(const QString &line);
    // One box naming every failure, after lead when there is one.
    void reportFailedOperations(const QString &lead = {});
    bool askQuitWithoutWaiting();
    bool startWorker();
    // main_unit_lock.cpp: while a format runs, everything but listening is off.
    void lockForOperation(bool locked);
    void updateMenuTitles();
    bool refuseListenCopy(const PlayerFilePick &file);
    bool FOperationLocked = false;
    bool FPlayerControlsOn = false; // as the player's state last set them
    // main_unit_download.cpp
    enum class QueueOutcome { Queued, Skipped, Unreadable, Stop };
    int32_t chooseTargetMemory(int tag);
    QueueOutcome queueDownload(const std::string &path, const QString &name, int32_t target);
    void queueDownloads(const std::vector<std::pair<std::string, QString>> &files);
    // main_unit_lists.cpp: the selected files of the active page's list, in list order.
    std::vector<PlayerFilePick> pickSelectedPlayerFiles() const;
    // main_unit_upload.cpp
    bool queueUpload(const PlayerFilePick &file, const std::string &folder);
    void makePlayerListsDraggable();
    // main_unit_remove.cpp
    bool queueRemoval(const PlayerFilePick &file);
    bool formatRefusedWhileQueued();
    void queueFormat(int32_t target);
    class QThread *FWorker = nullptr; // the running job's worker, until it is deleted
    // main_unit_convert.cpp
    void conversionEnded(VoiceConversionThread *conversion);
    void startConversion(const std::string &voicePath, VoiceConversionThread *conversion);
    void convertImported(const ImportTicket &ticket);
    VoiceConversionThread *FConversion = nullptr; // the running conversion, until it has ended
    QString FConvertingName;
    // The running conversion's, when it is an import's.
    std::shared_ptr<ImportArrival> FArrival;
    // Why the running job failed after its device call had succeeded.
    QString FJobNote;

    void applyPaneWidths();

    // main_unit_import.cpp
    void connectImportCommands();
    void readImportSettings(const IniFile &ini);
    void importSettingsEntries(std::vector<IniEntry> &entries) const;
    void importOnArrival();
    int importNewRecordings(const std::string &folder);
    bool isQueuedUpload(const std::string &pcPath) const;
    void sawPlayerMemories();
    void importJobCompleted(const std::optional<ImportTicket> &ticket);
    void watchImportEnd();
    void finishImport();

public:
    // Import settings ([Import] in settings.ini): whether each arrival imports,
    // and into which folder (the PC folder shown when the option was chosen).
    bool FImportOnArrival = false;
    QString FImportFolder;
    // The imports still in the queue, and what they brought in so far.
    ImportRun FImport;
    // What every import brought in ($XDG_STATE_HOME/tovixman).
    std::shared_ptr<ImportMemory> FImportMemory;

    // Listening: [Listen] in settings.ini, and what is loaded.
    double FListenSpeed = 1.0;
    bool FRewindOnPause = true;
    int FRewindSeconds = 2;
    int FListenState = 0;   // ListenSession::State
    QString FListenPath;    // the file loaded for listening
    QString FListenWanted;  // the player recording last asked for, until it plays
    QByteArray FListenWantedKey; // and what its position is kept as
    QString FListenName;    // the loaded file's name as shown
    QString FListenFault;   // what the status bar last said of the sound output

private:
    // main_unit_listen.cpp
    void createListenMenu();
    void createPlayBar();
    void connectListenCommands();
    void readListenSettings(const IniFile &ini);
    void listenSettingsEntries(std::vector<IniEntry> &entries) const;
    void listenToPlayerFile(const PlayerFilePick &file);
    void listenCacheChecked(const QString &name, const QString &path, bool present, const QString &refusal);
    void listenCopyCompleted(const TCopyJob &job, int32_t result);
    // Copies of a memory's recordings (mtInternal, mtCard, 0 for both) are not played again.
    void listenMemoryChanged(int32_t target);
    // Any finished job: one that changed a memory makes its copies stale.
    void listenJobCompleted(int32_t kind);
    void startLoudnessScan(const QString &path);
    void stopLoudnessScan();
    void showListenCopyProgress(const QString &part, int percent, bool waiting);
    // Closing while a listen copy runs: that copy is the cache's own, so the
    // program ends without waiting for it, its part file removed.
    bool endDuringListenCopy();
    void setListenSpeed(double speed);
    void setListenVolume(double volume);
    void connectMpris(); // main_unit_mpris.cpp
    void endListening();
    // main_unit_listen_keys.cpp
    void createListenKeys();
    void setRewindSeconds(int seconds);
    qint64 listenRewindMs() const;
    // Plays the playable file selected in the pane last focused when it is
    // not the one loaded (or, with evenUnplayable, says why it can not).
    bool listenToSelection(bool evenUnplayable);
    void playSelected(int pane);
    ListenSession *FListenSession = nullptr;
    class MprisPlayer *FMpris = nullptr;
    double FListenVolume = 1.0;
    // Queued copies into the listening cache, by the path the device writes.
    std::vector<std::pair<std::string, PlayerFilePick>> FListenCopies;
    int FListenPane = 0; // 0 the PC pane, 1 the player pane: where the focus was last
    std::shared_ptr<std::atomic<bool>> FLoudnessCancel;
    std::vector<class QThread *> FLoudnessScans;

    QString FSettingsPath;
    bool FShown = false;
    int FExplorerWidth = 0;
    int FFolderTreeWidth = 0;
    // The saved PC folder when it did not answer at start, and what is shown
    // instead: while that is still shown, the saved one is kept for next time.
    QString FUnansweredFolder;
    QString FShownInstead;
    QString folderToSave() const;
};

extern TForm_TovixMan *Form_TovixMan;

// The file entry a player list item points at (valid until its memory's next refresh).
const TFileEntry *playerEntryOf(const QTreeWidgetItem *item);
// What a command takes of an item of the list on the page with that tag; the
// item must point at an entry.
PlayerFilePick playerFilePickOf(const QTreeWidgetItem *item, int tag);
// The record a queue line carries.
TCopyJob *queueJobOf(const class QListWidgetItem *line);
