#include "app/velmora.h"

#include "app/exportactions.h"
#include "app/settingsdialog.h"
#include "app/tripsview.h"
#include "catalogue/gpslogdata.h"
#include "export/captionedsnapshot.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "library/librarykeeper.h"
#include "library/usersettings.h"
#include "maptiles/tileserver.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/mapwebpage.h"
#include "playback/mapwebprofile.h"
#include "playback/playbackrate.h"
#include "playback/uvlcwrapper.h"
#include "trips/triptimeline.h"
#include "widgets/flashlabel.h"
#include "widgets/jumpclickstyle.h"
#include "widgets/ncframelesshelper.h"
#include "widgets/noticebar.h"
#include "widgets/rangeband.h"
#include "widgets/udoubleclickedwidget.h"
#include "widgets/uspeedmeter.h"
#include "widgets/wheelpager.h"

#include <QGraphicsView>
#include <QGuiApplication>
#include <QHeaderView>
#include <QFileInfo>
#include <QLabel>
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int kMinimumWidth = 1115;
constexpr int kMinimumHeight = 670;
constexpr int kTableColumns = 4;
constexpr int kTableRowHeight = 20;
constexpr int kVideoMinimumWidth = 640;
constexpr int kVideoMinimumHeight = 360;

QWidget *namedWidget(QWidget *widget, const QString &objectName)
{
    widget->setObjectName(objectName);
    return widget;
}

} // namespace

Velmora::Velmora(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    frameless = std::make_unique<NcFramelessHelper>(nullptr);
    frameless->attachTo(this);

    playButtonState = 1;
    maxButtonState = 1;
    pathDrawn = 0;

    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/images/Video_Play.png"))));
    setWindowTitle(QStringLiteral("Marvenda"));

    // Centred on what the primary screen leaves free, wherever that screen is.
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, minimumSize(),
                                    QGuiApplication::primaryScreen()->availableGeometry()));

    player = new UVlcWrapper(this);
    updateTimer = new QTimer(this);
    notConnectedTimer = new QTimer(this);
    // Once per recording that waits for its map.
    notConnectedTimer->setSingleShot(true);
    catalogue = new UVideoAndGpsfiles(this);
    keeper = new LibraryKeeper(catalogue, this);

    headerLeft = namedWidget(new QWidget(this), QStringLiteral("Header_Left"));
    headerCenter = namedWidget(new QWidget(this), QStringLiteral("Header_Center"));
    headerRight = namedWidget(new QWidget(this), QStringLiteral("Header_Right"));

    createMapView();

    videoTimeSlider = new QSlider(Qt::Horizontal, this);
    videoTimeSlider->setObjectName(QStringLiteral("VideoTimeSlider"));
    videoVolumnSlider = new QSlider(Qt::Horizontal, this);
    videoVolumnSlider->setObjectName(QStringLiteral("VideoVolumnSlider"));

    audioIndicator = new QGraphicsView(this);
    audioIndicator->setObjectName(QStringLiteral("AudioIndicator"));
    carPosition = new QGraphicsView(this);
    carPosition->setObjectName(QStringLiteral("CarPosition"));
    carPositionNumber = new QLabel(this);
    carPositionNumber->setObjectName(QStringLiteral("CarPositionNumber"));

    createTables();

    carSpeedMeter = new USpeedMeter(this);
    carSpeedMeter->setObjectName(QStringLiteral("CarSpeedMeter"));

    createButtons();

    videoTime = new QLabel(this);
    videoTime->setObjectName(QStringLiteral("VideoTime"));
    videoTime->setText(QStringLiteral("00:00:00/00:00:00"));
    listPageLabel = new QLabel(this);
    listPageLabel->setObjectName(QStringLiteral("VideoListPage"));
    videoName = new QLabel(this);
    videoName->setObjectName(QStringLiteral("VideoName"));
    videoName->setText(QString());
    // File names are shown as they are, markup and all.
    videoName->setTextFormat(Qt::PlainText);

    shot = new QPushButton(this);
    shot->setObjectName(QStringLiteral("Shot"));

    // Over the video and the tables while open: its native window, raised
    // when it opens, keeps it above the picture.
    tripsView = new TripsView(this);

    // Created last so that it lies above every other child: video full screen
    // relies on it covering the whole window.
    videoWindow = new UDoubleClickedWidget(this);
    videoWindow->setObjectName(QStringLiteral("VideoWindow"));
    videoWindow->setWindowFlags(Qt::FramelessWindowHint);
    // Laid over the video; its own native window keeps it above the picture.
    notice = new NoticeBar(this);
    flash = new FlashLabel(this);

    gpsLog = std::make_unique<GpsLogData>(nullptr);

    status = std::make_unique<DisplayWindowStatus>();
    status->maximized = 0;
    status->currentPage = 0;
    status->mapState = 0;

    googleMap->setUrl(mapPageUrl(MapPage::Start));

    setAttribute(Qt::WA_MouseTracking);
    headerLeft->setAttribute(Qt::WA_MouseTracking);
    headerCenter->setAttribute(Qt::WA_MouseTracking);
    headerRight->setAttribute(Qt::WA_MouseTracking);

    layoutWidgets();

    connectTitleBarAndButtons();

    player->SetVideoWindow(videoWindow);

    videoTimeSlider->setRange(0, kTimeSliderEnd);
    videoVolumnSlider->setRange(0, 100);
    videoVolumnSlider->setValue(50);
    for (QSlider *slider : { videoTimeSlider, videoVolumnSlider })
        JumpClickStyle::applyTo(slider);
    rangeBand = new RangeBand(videoTimeSlider);

    connectTheRest();
    // The settings file is read only when the window remembers; until then the system's defaults.
    applyDisplaySettings(DisplaySettings());
    // What the slider shows is what is heard, from the first recording on.
    player->SetVolume(videoVolumnSlider->value());
    addToolTips();
    createShortcuts();

    // Dropped videos are imported by the window; the map page never sees them.
    setAcceptDrops(true);
    googleMap->setAcceptDrops(false);
}

Velmora::~Velmora() = default;

void Velmora::remember(RecordingLibrary *library, const QString &problem)
{
    remembering = true;
    keeper->restoreFrom(library);
    const WindowMemory memory = WindowMemory::load();
    videoVolumnSlider->setValue(memory.volume);
    importFolder = memory.importFolder;
    // Only where a screen still shows it.
    const QScreen *screen = memory.geometry.isValid()
            ? QGuiApplication::screenAt(memory.geometry.center())
            : nullptr;
    if (screen)
        setGeometry(memory.geometry);
    if (memory.maximized)
        MaxWindow();
    applyDisplaySettings(DisplaySettings::load());
    showListPage(memory.listPage);
    if (!problem.isEmpty())
        notice->showNotice(problem);
}

void Velmora::closeEvent(QCloseEvent *event)
{
    if (remembering) {
        WindowMemory memory;
        memory.volume = videoVolumnSlider->value();
        const bool filled = status->maximized != 0 || fullScreenOn;
        memory.geometry = filled && geometryBeforeFillingScreen.isValid() ? geometryBeforeFillingScreen
                                                                          : geometry();
        memory.maximized = status->maximized != 0;
        memory.listPage = status->currentPage;
        memory.importFolder = importFolder;
        memory.save();
    }
    QWidget::closeEvent(event);
}

void Velmora::createMapView()
{
    googleMap = new QWebEngineView(this);
    googleMap->setObjectName(QStringLiteral("GoogleMap"));
    // The profile is created after the view so that the view, and the page it
    // owns, are destroyed before the profile.
    QString cacheProblem;
    mapProfile = MapWebProfile::withDiskCache(this, &cacheProblem);
    useTileServer(TileServer::fromSettings());
    if (!cacheProblem.isEmpty())
        QTimer::singleShot(0, this, [this, cacheProblem] { notice->showNotice(cacheProblem); });
    auto *mapPage = new MapWebPage(mapProfile, googleMap);
    // Dark while a page loads or when none could be loaded.
    mapPage->setBackgroundColor(QColor(0x12, 0x12, 0x12));
    googleMap->setPage(mapPage);
    connect(mapPage, &MapWebPage::routeClicked, this, &Velmora::seekToRouteSecond);
    googleMap->setVisible(true);
    googleMap->setUrl(QUrl());
}

// Said over the video once the window shows, like every other problem.
void Velmora::useTileServer(const TileServer &server)
{
    mapProfile->setTileServer(server);
    const QString problem = mapProfile->offlineProblem();
    if (!problem.isEmpty())
        QTimer::singleShot(0, this, [this, problem] { notice->showNotice(problem); });
}

void Velmora::createTables()
{
    wheelPager = new WheelPager(this);
    videoListLeft = new QTableWidget(kRowsPerTable, kTableColumns, this);
    videoListLeft->setObjectName(QStringLiteral("VideoListLeft"));
    videoListRight = new QTableWidget(kRowsPerTable, kTableColumns, this);
    videoListRight->setObjectName(QStringLiteral("VideoListRight"));

    const QStringList headers = { QObject::tr("File Name"), QObject::tr("Date"),
                                  QObject::tr("Time"), QObject::tr("GPS File") };
    videoListLeft->setHorizontalHeaderLabels(headers);
    videoListRight->setHorizontalHeaderLabels(headers);

    // The list code only ever changes item texts, so every cell holds an item
    // from the start.
    for (int row = 0; row < kRowsPerTable; ++row) {
        for (int column = 0; column < kTableColumns; ++column) {
            videoListLeft->setItem(row, column, new QTableWidgetItem);
            videoListRight->setItem(row, column, new QTableWidgetItem);
        }
    }

    // The names take what the other columns leave, at any window size.
    for (QTableWidget *table : { videoListLeft, videoListRight }) {
        QHeaderView *header = table->horizontalHeader();
        header->setDefaultSectionSize(header->minimumSectionSize());
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int row = 0; row < kRowsPerTable; ++row)
            table->setRowHeight(row, kTableRowHeight);
        wheelPager->watch(table->viewport());
    }

    videoListLeft->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    videoListRight->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QTableWidget *table : { videoListLeft, videoListRight }) {
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setFocusPolicy(Qt::NoFocus);
        table->verticalHeader()->hide();
        table->setGridStyle(Qt::DashDotDotLine);
    }
}

void Velmora::createButtons()
{
    const auto button = [this](const QString &objectName) {
        auto *pushButton = new QPushButton(this);
        pushButton->setObjectName(objectName);
        return pushButton;
    };
    videoPre = button(QStringLiteral("VideoPre"));
    videoNext = button(QStringLiteral("VideoNext"));
    videoPlay = button(QStringLiteral("VideoPlay"));
    videoStop = button(QStringLiteral("VideoStop"));
    videoListPrePage = button(QStringLiteral("VideoListPrePage"));
    videoListNextPage = button(QStringLiteral("VideoListNextPage"));
    videoListItemImport = button(QStringLiteral("VideoListItemImport"));
    videoListItemDelete = button(QStringLiteral("VideoListItemDelete"));
    windowMin = button(QStringLiteral("WindowMin"));
    windowMax = button(QStringLiteral("WindowMax"));
    windowClose = button(QStringLiteral("WindowClose"));
    windowMenu = button(QStringLiteral("WindowMenu"));
    exportActions = new ExportActions(this, [this] { return exportSubject(); });
    captioner = new SnapshotCaptioner(this);
    createMenu();
}

// The program's menu, from the title bar beside minimise.
void Velmora::createMenu()
{
    windowMenu->setText(QStringLiteral("\u2261"));
    auto *menu = new QMenu(windowMenu);
    menu->setObjectName(QStringLiteral("ProgramMenu"));
    QMenu *languages = menu->addMenu(tr("Language"));
    auto *languageGroup = new QActionGroup(languages);
    const std::pair<Language, QString> choices[] = {
        { Language::System, tr("As the system") },
        { Language::English, QStringLiteral("English") },
        { Language::Russian, QStringLiteral("Русский") },
    };
    for (const auto &[language, name] : choices) {
        QAction *choice = languages->addAction(name, this, [this, language = language] {
            if (remembering)
                saveLanguage(language);
            notice->showNotice(tr("The language changes at the next start."));
        });
        choice->setCheckable(true);
        languageGroup->addAction(choice);
        choice->setChecked(language == savedLanguage());
    }
    menu->addAction(tr("Trips…"), this, [this] { tripsView->open(keeper->tripClips()); });
    menu->addAction(tr("Remove missing recordings"), this, &Velmora::removeMissingRecordings);
    menu->addAction(tr("Settings…"), this, &Velmora::openSettings);
    menu->addSeparator();
    menu->addActions(exportActions->actions());
    menu->addSeparator();
    menu->addAction(tr("About Marvenda"), this, &Velmora::showAbout);
    windowMenu->setMenu(menu);
}

// Recordings whose video is gone (a card taken out for good) leave the list
// and the library; nothing on disk is touched.
void Velmora::removeMissingRecordings()
{
    int removed = 0;
    for (int index = catalogue->GetVideoCount() - 1; index >= 0; --index) {
        if (QFileInfo::exists(catalogue->GetVideoPath(index)))
            continue;
        deleteRecording(index);
        ++removed;
    }
    showListPage(status->currentPage);
    notice->showNotice(tr("Missing recordings removed: %1").arg(removed));
}

void Velmora::openSettings()
{
    SettingsDialog dialog(DisplaySettings{ carSpeedMeter->speedUnit(), catalogue->zone().name() }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const DisplaySettings chosen = dialog.chosen();
    if (remembering)
        chosen.save();
    applyDisplaySettings(chosen);
}

void Velmora::applyDisplaySettings(const DisplaySettings &display)
{
    const DisplayZone zone = DisplayZone::named(display.timeZone);
    carSpeedMeter->setSpeedUnit(display.speedUnit);
    catalogue->setDisplayZone(zone);
    tripsView->setDisplay(display.speedUnit, zone);
    captioner->setStyle({ display.speedUnit, zone });
    exportActions->setCaptionStyle({ display.speedUnit, zone });
    runMapScript(speedUnitScript(display.speedUnit));
    ListTableUpdate();
}

void Velmora::showAbout()
{
    QMessageBox::about(this, tr("About Marvenda"),
                       tr("<p><b>Marvenda</b> %1 &mdash; dash-camera recording player</p>"
                          "<p>Qt %2, libvlc %3</p>"
                          "<p>Map data &copy; OpenStreetMap contributors, under the Open Database "
                          "License (ODbL); map library Leaflet.</p>")
                               .arg(QStringLiteral(VELMORA_VERSION), QString::fromLatin1(qVersion()),
                                    UVlcWrapper::libraryVersion().toHtmlEscaped()));
}

// Where one signal drives two slots, the order of these connections is the
// order in which the slots run.
void Velmora::connectTitleBarAndButtons()
{
    connect(videoPlay, &QPushButton::clicked, this, &Velmora::playPauseClicked);
    connect(windowMax, &QPushButton::clicked, this, &Velmora::MaxWindow);
    connect(windowClose, &QPushButton::clicked, this, &Velmora::close);
    connect(windowMin, &QPushButton::clicked, this, &Velmora::showMinimized);
    connect(videoStop, &QPushButton::clicked, this, &Velmora::ClearGUI);
}

void Velmora::connectTheRest()
{
    connect(videoWindow, &UDoubleClickedWidget::doubleclicked, this, &Velmora::fullscreen);
    connect(updateTimer, &QTimer::timeout, this, &Velmora::UpdateUIData);
    connect(notConnectedTimer, &QTimer::timeout, this, &Velmora::NotConnectedTimerHandler);
    connect(videoStop, &QPushButton::clicked, player, &UVlcWrapper::Stop);
    connect(videoPre, &QPushButton::clicked, this, &Velmora::PlayPrevious);
    connect(videoNext, &QPushButton::clicked, this, &Velmora::PlayNext);
    connect(googleMap, &QWebEngineView::loadFinished, this, &Velmora::LoadedToPaly);
    connect(videoTimeSlider, &QSlider::actionTriggered, this, &Velmora::timeSliderMoved);
    connect(videoVolumnSlider, &QSlider::valueChanged, player, &UVlcWrapper::SetVolume);
    connect(player, &UVlcWrapper::stateChanged, this, &Velmora::playerStateChanged);
    connect(player, &UVlcWrapper::continued, this, &Velmora::followPlayerToItsPage);
    // A recording or drive the user picks starts at normal speed; the clips
    // that follow keep the speed chosen.
    connect(tripsView, &TripsView::playRequested, this, [this] { changeRate(PlaybackRate::kNormal); });
    connect(tripsView, &TripsView::playRequested, this, &Velmora::playTrip);
    connect(keeper, &LibraryKeeper::tripsChanged, this, [this] { tripsView->refresh(keeper->tripClips()); });
    connect(videoListItemImport, &QPushButton::clicked, this, &Velmora::OpenFiles);
    connect(videoListItemDelete, &QPushButton::clicked, this, &Velmora::DeleteFile);
    connect(videoListLeft, &QTableWidget::cellClicked, this, &Velmora::ListTableClearSelecttionRight);
    connect(videoListRight, &QTableWidget::cellClicked, this, &Velmora::ListTableClearSelecttionLeft);
    connect(videoListLeft, &QTableWidget::cellClicked, this, &Velmora::ListTableSetIndexLeft);
    connect(videoListRight, &QTableWidget::cellClicked, this, &Velmora::ListTableSetIndexRight);
    for (QTableWidget *table : { videoListLeft, videoListRight })
        connect(table, &QTableWidget::cellDoubleClicked, this, [this] { changeRate(PlaybackRate::kNormal); });
    connect(videoListLeft, &QTableWidget::cellDoubleClicked, this, &Velmora::ListTablePlayVideoLeft);
    connect(videoListRight, &QTableWidget::cellDoubleClicked, this, &Velmora::ListTablePlayVideoRight);
    connect(videoListPrePage, &QPushButton::clicked, this, &Velmora::ListTablePreviousPage);
    connect(videoListNextPage, &QPushButton::clicked, this, &Velmora::ListTableNextPage);
    connect(wheelPager, &WheelPager::previousPage, this, &Velmora::ListTablePreviousPage);
    connect(wheelPager, &WheelPager::nextPage, this, &Velmora::ListTableNextPage);
    connect(catalogue, &UVideoAndGpsfiles::VideoAdded, player, &UVlcWrapper::AddMedia);
    connect(catalogue, &UVideoAndGpsfiles::VideoDeleted, player, &UVlcWrapper::RemoveMedia);
    connect(catalogue, &UVideoAndGpsfiles::videoReplaced, player, &UVlcWrapper::replaceMedia);
    connect(shot, &QPushButton::clicked, this, &Velmora::takeShot);
    connect(player, &UVlcWrapper::snapshotSaved, captioner, &SnapshotCaptioner::caption);
    connect(captioner, &SnapshotCaptioner::captioned, this, &Velmora::showSnapshotSaved);
    connect(player, &UVlcWrapper::snapshotFailed, this, &Velmora::showSnapshotFailed);
    connect(exportActions, &ExportActions::marksChanged, this, &Velmora::showMarks);
    connect(exportActions, &ExportActions::message, notice, &NoticeBar::showNotice);
}

void Velmora::addToolTips()
{
    videoPre->setToolTip(tr("Previous recording"));
    videoPlay->setToolTip(tr("Play or pause (Space)"));
    videoNext->setToolTip(tr("Next recording"));
    videoStop->setToolTip(tr("Stop"));
    shot->setToolTip(tr("Snapshot (S)"));
    videoListItemImport->setToolTip(tr("Import videos"));
    videoListPrePage->setToolTip(tr("Previous page"));
    videoListNextPage->setToolTip(tr("Next page"));
    videoListItemDelete->setToolTip(tr("Remove the selected recording from the list"));
    windowMin->setToolTip(tr("Minimize"));
    windowMax->setToolTip(tr("Maximize or restore"));
    windowClose->setToolTip(tr("Close"));
    windowMenu->setToolTip(tr("Menu"));
}

// Window-wide keys; the buttons and tables never take the focus, so nothing
// inside the window swallows them.
void Velmora::createShortcuts()
{
    const auto onKey = [this](QKeySequence key, auto action) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    onKey(Qt::Key_Space, [this] { videoPlay->click(); });
    onKey(Qt::Key_Left, [this] { seekBy(-kSeekStepMs); });
    onKey(Qt::Key_Right, [this] { seekBy(kSeekStepMs); });
    onKey(Qt::Key_Up, [this] { changeVolumeBy(kVolumeStep); });
    onKey(Qt::Key_Down, [this] { changeVolumeBy(-kVolumeStep); });
    onKey(Qt::Key_S, [this] { takeShot(); });
    onKey(Qt::Key_BracketLeft, [this] { changeRate(PlaybackRate::slower(player->rate())); });
    onKey(Qt::Key_BracketRight, [this] { changeRate(PlaybackRate::faster(player->rate())); });
    onKey(Qt::Key_Period, [this] { stepFrame(); });
    onKey(Qt::Key_Comma, [this] { seekBy(-kStepBackMs); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), [this] { changeClockOffset(-1); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_BracketRight), [this] { changeClockOffset(1); });
    for (const Qt::Key key : { Qt::Key_F, Qt::Key_Return, Qt::Key_Enter })
        onKey(key, [this] { fullscreen(); });
    onKey(Qt::Key_PageUp, [this] { ListTablePreviousPage(); });
    onKey(Qt::Key_PageDown, [this] { ListTableNextPage(); });
    onKey(Qt::Key_Home, [this] { showListPage(0); });
    onKey(Qt::Key_End, [this] { showListPage(pageCount() - 1); });
    onKey(Qt::Key_Escape, [this] {
        if (fullScreenOn)
            fullscreen();
    });
}

void Velmora::resizeEvent(QResizeEvent *)
{
    layoutWidgets();
}

void Velmora::layoutWidgets()
{
    const int W = width();
    const int H = height();
    const int D = W - 475; // width of the video surface
    const int A = (W - 510) / 2; // reference column of the two button rows

    headerLeft->setGeometry(0, 0, (W - 300) / 2, 50);
    headerCenter->setGeometry((W - 300) / 2, 0, 300, 50);
    headerRight->setGeometry((W + 300) / 2, 0, (W - 300) / 2, 50);

    videoWindow->setMinimumSize(kVideoMinimumWidth, kVideoMinimumHeight);
    // In video full screen the surface covers the whole window, also when the
    // platform delivers the resize of showFullScreen() after the call.
    if (fullScreenOn)
        videoWindow->setGeometry(0, 0, W, H);
    else
        videoWindow->setGeometry(5, 55, D, H - 310);
    googleMap->setGeometry(W - 465, 55, 460, H - 310);
    notice->placeOver(videoWindow->geometry());
    flash->placeOver(videoWindow->geometry());
    tripsView->setGeometry(5, 55, D, H - 60);

    videoTimeSlider->setGeometry(5, H - 202, (4 * D) / 6, 20);
    audioIndicator->setGeometry((5 * D) / 6 - 20, H - 202, 20, 20);
    videoVolumnSlider->setGeometry((5 * D) / 6, H - 202, D / 6, 20);

    carPosition->setGeometry(W - 465, H - 255, 460, 40);
    carPositionNumber->setGeometry(W - 465, H - 215, 460, 40);

    videoListLeft->setGeometry(5, H - 170, D / 2, 125);
    videoListRight->setGeometry(D / 2 + 5, H - 170, D / 2, 125);
    carSpeedMeter->setGeometry(W - 465, H - 170, 460, 120);

    videoPre->setGeometry(A - 115, H - 247, 35, 35);
    videoPlay->setGeometry(A - 35, H - 247, 35, 35);
    videoNext->setGeometry(A + 45, H - 247, 35, 35);
    videoStop->setGeometry(A + 125, H - 247, 35, 35);
    shot->setGeometry(A + 285, H - 247, 35, 35);

    videoListItemImport->setGeometry(A - 115, H - 40, 35, 35);
    videoListPrePage->setGeometry(A - 35, H - 40, 35, 35);
    videoListNextPage->setGeometry(A + 45, H - 40, 35, 35);
    videoListItemDelete->setGeometry(A + 125, H - 40, 35, 35);
    listPageLabel->setGeometry(A + 175, H - 40, qMax(0, D - A - 180), 35);

    windowMin->setGeometry(W - 65, 0, 20, 20);
    windowMax->setGeometry(W - 45, 0, 20, 20);
    windowClose->setGeometry(W - 25, 0, 20, 20);
    windowMenu->setGeometry(W - 85, 0, 20, 20);

    videoName->setGeometry(15, H - 245, 110, 20);
    videoTime->setGeometry(15, H - 225, 110, 20);

    for (QPushButton *button : { videoPlay, videoPre, videoNext, videoStop, shot, videoListPrePage,
                                 videoListNextPage, videoListItemImport, videoListItemDelete,
                                 windowMin, windowMax, windowClose, windowMenu })
        button->setFocusPolicy(Qt::NoFocus);
}
