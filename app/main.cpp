// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/main.h"

#include "core/layout.h"
#include "core/numbers.h"
#include "core/pack.h"
#include "flow/progression.h"
#include "flow/savegame.h"
#include "platform/keys.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "records/Options.h"
#include "records/Player.h"
#include "screens/HighScores.h"
#include "screens/accessibility.h"
#include "screens/anim.h"
#include "screens/apropos.h"
#include "screens/level.h"
#include "screens/resultats.h"
#include "screens/titre.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace vorn {

namespace {

// The client area: a view of the scene. Keys go to a focused item of the scene (the name entry's
// edit box) when there is one; every other key goes to the main window's key handler.
class SceneView : public QGraphicsView {
  public:
    SceneView(QGraphicsScene* scene, Tprincipal* window)
        : QGraphicsView(scene, window), window_(window) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (scene() && scene()->focusItem()) {
            QGraphicsView::keyPressEvent(event);
            return;
        }
        event->ignore();  // the main window's own key handler takes it
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (scene() && scene()->focusItem())
            QGraphicsView::keyReleaseEvent(event);
        else
            event->ignore();
    }
    // Clicks reach the scene's controls (the name entry's) first; a left click, or a tap (which
    // arrives as one), then goes to the main window as a key. A quick second click arrives as a
    // double click: it counts as a click of its own.
    void mousePressEvent(QMouseEvent* event) override {
        QGraphicsView::mousePressEvent(event);
        if (event->button() == Qt::LeftButton)
            window_->clickAt(mapToScene(event->position().toPoint()));
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QGraphicsView::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton)
            window_->clickAt(mapToScene(event->position().toPoint()));
    }

  private:
    Tprincipal* window_;
};

// The rules item's picture: an open book with a question mark, 32 x 32, 32 bits a pixel.
QImage rulesPicture() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 28, 64), 1.5));
    p.setBrush(QColor(255, 248, 231));
    QPolygonF left({QPointF(16, 8), QPointF(3, 5), QPointF(3, 26), QPointF(16, 29)});
    QPolygonF right({QPointF(16, 8), QPointF(29, 5), QPointF(29, 26), QPointF(16, 29)});
    p.drawPolygon(left);
    p.drawPolygon(right);
    p.setPen(QPen(QColor(30, 58, 140), 1));
    for (int y = 11; y <= 23; y += 4) p.drawLine(QPointF(6, y), QPointF(13, y + 1));
    QFont font;
    font.setPixelSize(16);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(211, 90, 36));
    p.drawText(QRectF(16, 6, 13, 22), Qt::AlignCenter, QStringLiteral("?"));
    p.end();
    return image;
}

}  // namespace

Tprincipal::Tprincipal(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform), hasard_(platform.clock), son_(platform.backend) {
    setObjectName(QStringLiteral("principal"));
    setWindowTitle(QString::fromUtf16(kApplicationTitle));
    // Single fixed border; system menu and minimize, no maximize.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    scene_ = new QGraphicsScene(this);
    scene_->setBackgroundBrush(Qt::black);
    // A click on a picture, a label or the background never takes the keyboard focus from the
    // element that holds it (the name box), as on the toolkit the layouts were drawn for, where
    // such elements cannot take it; a scene would otherwise clear its focus item there.
    scene_->setStickyFocus(true);
    view_ = new SceneView(scene_, this);
    view_->setObjectName(QStringLiteral("client"));
    view_->setFrameShape(QFrame::NoFrame);
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_->setBackgroundBrush(Qt::black);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);  // automatic scroll bars
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setRenderHint(QPainter::TextAntialiasing);
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setFixedSize(layout::principal::clientWidth, layout::principal::clientHeight);
    setCentralWidget(view_);
    reading_ = new SceneReading(*view_);
    try {
        gameState_.answerTimeFactor = readAnswerTimeFactor(pack::file(pack::optionsFile));
    } catch (const Error&) {
        gameState_.answerTimeFactor = 1;  // options that cannot be read are the defaults
    }
    buildMenu();
    updateSceneRect();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    centreOnDesktop();
    setFocusPolicy(Qt::StrongFocus);
    platform_.resolution.setOnModeChanged([this](QSize mode) { showMode(mode); });
    view_->setFocus();

    onExit_ = [] { QCoreApplication::quit(); };
    platform_.gamepads.setOnButton([this](PadButton button) { padButton(button); });
    FormCreate();
}

Tprincipal::~Tprincipal() {
    platform_.gamepads.setOnButton({});
    // Screens leave the scene before it goes; any wait still on the stack is over.
    abandonWaits();
    screens_.clear();
}

void Tprincipal::abandonWaits() {
    for (auto* w : waits_) w->abandoned = true;
}

void Tprincipal::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [this](QMenu* parent, const char* name, const QString& caption) {
        QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [this](QMenu* parent, const char* name, const QString& caption,
                       std::function<void()> handler) {
        QAction* a = parent->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (handler) connect(a, &QAction::triggered, this, [this, handler] { guarded(handler); });
        return a;
    };

    QMenu* fichier = menu(nullptr, "fichier1", QStringLiteral("fichier"));
    connect(fichier, &QMenu::aboutToShow, this, [this] { guarded([this] { fichier1Click(); }); });
    item(fichier, "redmarrer1", QStringLiteral("redémarrer"), [this] { redmarrer1Click(); });
    QMenu* charger = menu(fichier, "charger1", QStringLiteral("charger"));
    item(charger, "Block1_load", QStringLiteral("Block 1"), [this] { Block1_loadClick(); });
    item(charger, "Block2_load", QStringLiteral("Block2"), [this] { Block2_loadClick(); });
    item(charger, "Block3_load", QStringLiteral("Block3"), [this] { Block3_loadClick(); });
    item(charger, "Block4_load", QStringLiteral("Block 4"), [this] { Block4_loadClick(); });
    QMenu* sauvegarder = menu(fichier, "sauvegarder1", QStringLiteral("sauvegarder"));
    item(sauvegarder, "Block1_save", QStringLiteral("Block 1"), [this] { Block1_saveClick(); });
    item(sauvegarder, "Block2_save", QStringLiteral("Block 2"), [this] { Block2_saveClick(); });
    item(sauvegarder, "Block3_save", QStringLiteral("Block 3"), [this] { Block3_saveClick(); });
    item(sauvegarder, "Block4_save", QStringLiteral("Block 4"), [this] { Block4_saveClick(); });
    item(fichier, "Lesmeilleursjoueurs1", QStringLiteral("Les meilleurs joueurs"),
         [this] { Lesmeilleursjoueurs1Click(); });
    item(fichier, "quitter1", QStringLiteral("quitter"), [this] { quitter1Click(); });

    QMenu* options = menu(nullptr, "options1", QStringLiteral("options"));
    item(options, "N640x480pleincran1", QStringLiteral("640x480 plein écran"),
         [this] { N640x480pleincran1Click(); });
    item(options, "N640x480fentr1", QStringLiteral("640x480 fenêtré"),
         [this] { N640x480fentr1Click(); });
    // The time to answer, after the display: the layout's, or twice or three times as long for a
    // player who has the question read out.
    options->addSeparator()->setObjectName(QStringLiteral("answerTimeSeparator"));
    auto* answerTimes = new QActionGroup(options);
    answerTimes->setExclusive(true);
    const QString answerTimeCaptions[kAnswerTimeFactors] = {
        QStringLiteral("temps pour répondre : 9,85 s"),
        QStringLiteral("temps pour répondre : 19,7 s (x2)"),
        QStringLiteral("temps pour répondre : 29,55 s (x3)")};
    for (int factor = 1; factor <= kAnswerTimeFactors; ++factor) {
        const QByteArray name = "answerTime" + QByteArray::number(factor);
        QAction* a = item(options, name.constData(), answerTimeCaptions[factor - 1],
                          [this, factor] { chooseAnswerTime(factor); });
        a->setCheckable(true);
        a->setChecked(factor == gameState_.answerTimeFactor);
        answerTimes->addAction(a);
    }

    QMenu* aide = menu(nullptr, "aide1", QStringLiteral("aide"));
    QAction* regles = item(aide, "rglesdujeu1", QStringLiteral("règles du jeu           F1"),
                           [this] { rglesdujeu1Click(); });
    regles->setIcon(QIcon(QPixmap::fromImage(rulesPicture())));
    QAction* separator = aide->addSeparator();
    separator->setObjectName(QStringLiteral("N1"));
    item(aide, "propos1", QStringLiteral("à propos"), [this] { propos1Click(); });

    // F10 opens the first menu, as on the desktops where it is the menus' key: the menus are then
    // used with the arrows, Enter and Esc. (Alt alone takes the menu bar too, but not reliably
    // while a screen reader listens to the keys, which it does on every key press.)
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setContext(Qt::ApplicationShortcut);
    connect(menuKey, &QShortcut::activated, this, [this, fichier] {
        if (isEnabled() && !exited_) menuBar()->setActiveAction(fichier->menuAction());
    });
}

QAction* Tprincipal::menuItem(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QMenuBar* Tprincipal::mainMenu() const {
    return menuBar();
}

void Tprincipal::guarded(const std::function<void()>& handler) {
    platform_.guard.run(handler);
}

// ---------------------------------------------------------------------------------------------
// Start-up

void Tprincipal::FormCreate() {
    firstActivation_ = true;
}

void Tprincipal::FormActivate() {
    if (!firstActivation_) return;
    son_.sauveVolumes();
    son_.regleVolumes();
    const QSize desktop = platform_.resolution.lireResolution();
    desktopWidth_ = desktop.width();
    desktopHeight_ = desktop.height();
    firstActivation_ = false;
    introduction();
}

void Tprincipal::introduction() {
    {
        tanim intro(numbers::kIntroVideo, *this);
        intro.joue();
    }
    screens_.titre = std::make_unique<Tecrantitre>(*this);
    screens_.titre->play(*this);
}

void Tprincipal::demarrer() {
    gameState_.score = 0;
    gameState_.Niveau = 1;
    startLevel(*this, 1);
}

// ---------------------------------------------------------------------------------------------
// Teardown and restart

void Tprincipal::tearDown() {
    // Any results or high-score wait in progress ends: its screen is going away.
    abandonWaits();
    screens_.teardown(*this);
}

void Tprincipal::redmarrer1Click() {
    tearDown();
    introduction();
}

void Tprincipal::quitter1Click() {
    close();
}

// ---------------------------------------------------------------------------------------------
// Keys and closing

void Tprincipal::FormKeyDown(int key) {
    if (exited_) return;
    if (key == vk::Escape) close();
    if (key == vk::F1) rglesdujeu1Click();
    if (screens_.titre && key == vk::Enter) {
        release(std::move(screens_.titre));
        demarrer();
    }
    // Only a level screen that is set up and shown takes answer keys: after a teardown or a failed
    // set-up the flag of the game state may still say that an answer is awaited.
    if (gameState_.AttenteReponse && screens_.niv && screens_.niv->ready())
        screens_.niv->resultat(key);
}

void Tprincipal::clickAt(QPointF scenePoint) {
    guarded([this, scenePoint] {
        // (A disabled main window, the About window open, gets no click: Qt keeps it away.)
        if (exited_) return;
        // Screens stand at the scene's origin: a point of the scene is a point of the screen.
        if (screens_.titre && screens_.titre->promptAt(scenePoint)) {
            FormKeyDown(vk::Enter);
            return;
        }
        if (const int n = Tniv::answerAt(scenePoint); n && screens_.niv)
            FormKeyDown(vk::Numpad1 + n - 1);
    });
}

void Tprincipal::padButton(PadButton button) {
    // A key reaches the main window only when it is enabled (no About window) and no modal
    // window (a message box) has the keyboard.
    if (exited_ || !isEnabled() || QApplication::activeModalWidget()) return;
    guarded([this, button] { FormKeyDown(vk::fromPad(button)); });
}

void Tprincipal::FormClose() {
    tearDown();
    son_.restaureVolumes();
    // Only a mode the game changed is given back.
    if (platform_.resolution.mode() != QSize(desktopWidth_, desktopHeight_))
        platform_.resolution.changeResolution(desktopWidth_, desktopHeight_);
    exited_ = true;
    abandonWaits();
    hide();
    if (onExit_) onExit_();
}

void Tprincipal::fichier1Click() {
    const bool enable = flags().levelScreenPresent;
    for (const char* name : {"Block1_save", "Block2_save", "Block3_save", "Block4_save"})
        if (QAction* a = menuItem(QLatin1String(name))) a->setEnabled(enable);
}

void Tprincipal::Block1_loadClick() {
    chargerBlock(*this, QStringLiteral("1"));
}
void Tprincipal::Block2_loadClick() {
    chargerBlock(*this, QStringLiteral("2"));
}
void Tprincipal::Block3_loadClick() {
    chargerBlock(*this, QStringLiteral("3"));
}
void Tprincipal::Block4_loadClick() {
    chargerBlock(*this, QStringLiteral("4"));
}
void Tprincipal::Block1_saveClick() {
    sauvegarderBlock(*this, QStringLiteral("1"));
}
void Tprincipal::Block2_saveClick() {
    sauvegarderBlock(*this, QStringLiteral("2"));
}
void Tprincipal::Block3_saveClick() {
    sauvegarderBlock(*this, QStringLiteral("3"));
}
void Tprincipal::Block4_saveClick() {
    sauvegarderBlock(*this, QStringLiteral("4"));
}

void Tprincipal::Lesmeilleursjoueurs1Click() {
    tearDown();
    screens_.scores = std::make_unique<tscores>();
    screens_.scores->charger();
    showBestPlayers(*this);
    redmarrer1Click();
}

// ---------------------------------------------------------------------------------------------
// Display mode and About

void Tprincipal::N640x480pleincran1Click() {
    // Laid along the top of the screen, with a border that resizes, maximized, without scroll
    // bars; then the mode, which only takes effect when the display can show it.
    setResizable(true);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    showMaximized();
    platform_.resolution.changeResolution(640, 480);
}

void Tprincipal::N640x480fentr1Click() {
    setResizable(false);
    showNormal();
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    platform_.resolution.changeResolution(desktopWidth_, desktopHeight_);
    // The desktop may give the window its normal size back only later: it is centred then.
    centreWhenWindowed_ = true;
    centreOnDesktop();
}

void Tprincipal::showMode(QSize mode) {
    fullScreen_ = mode == QSize(640, 480) && mode != QSize(desktopWidth_, desktopHeight_);
    if (fullScreen_) {
        showFullScreen();
    } else if (isFullScreen()) {
        showNormal();
        setResizable(false);
    }
    fitGameToView();
}

void Tprincipal::fitGameToView() {
    updateSceneRect();
    if (!fullScreen_) {
        view_->resetTransform();
        view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return;
    }
    // The game's screen fills the screen, its proportions kept, black bars where they are not
    // the screen's. The window may not have its full-screen size yet: the screen tells it.
    QSize area = view_->viewport()->size();
    if (const QScreen* screen = this->screen(); screen && isFullScreen())
        area = area.expandedTo(screen->geometry().size() - QSize(0, menuBar()->height()));
    const double scale = std::min(area.width() / double(layout::screen.width()),
                                  area.height() / double(layout::screen.height()));
    view_->setTransform(QTransform::fromScale(scale, scale));
    view_->setAlignment(Qt::AlignCenter);
}

void Tprincipal::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (fullScreen_) fitGameToView();
    if (centreWhenWindowed_) centreOnDesktop();
}

void Tprincipal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && centreWhenWindowed_) centreOnDesktop();
}

void Tprincipal::setResizable(bool resizable) {
    if (resizable) {
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        view_->setMinimumSize(layout::principal::clientWidth, layout::principal::clientHeight);
        view_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        view_->setFixedSize(layout::principal::clientWidth, layout::principal::clientHeight);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        adjustSize();
    }
}

void Tprincipal::centreOnDesktop() {
    // Only a window at its own size is centred: one still full screen or maximized is waited for.
    if (isFullScreen() || isMaximized() ||
        view_->size() != QSize(layout::principal::clientWidth, layout::principal::clientHeight))
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    centreWhenWindowed_ = false;
}

void Tprincipal::chooseAnswerTime(int factor) {
    gameState_.answerTimeFactor = factor;
    if (QAction* a = menuItem(QStringLiteral("answerTime%1").arg(factor))) a->setChecked(true);
    // Kept for the next start; a question already asked keeps its time, the next one takes this.
    writeAnswerTimeFactor(pack::file(pack::optionsFile), factor);
}

void Tprincipal::propos1Click() {
    setEnabled(false);
    // A new window at each opening; the last one, closed, goes now.
    about_ = std::make_unique<TForm1>(nullptr, [this] { guarded([this] { aboutClosed(); }); });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        about_->move(screen->availableGeometry().center() - about_->rect().center());
    about_->show();
}

void Tprincipal::aboutClosed() {
    setEnabled(true);
}

void Tprincipal::rglesdujeu1Click() {
    platform_.shell.open(pack::file(pack::rules));
}

bool Tprincipal::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && firstActivation_) {
        const bool handled = QMainWindow::event(event);
        activateFirstTime();
        return handled;
    }
    return QMainWindow::event(event);
}

void Tprincipal::activateFirstTime() {
    if (!firstActivation_ || exited_) return;
    const QWindow* window = windowHandle();
    if (!isVisible() || !window) return;
    if (!window->isExposed()) {
        // The intro holds the thread: it must not start before the window system has put the
        // window on screen, or the window stays black until the intro ends.
        activationAwaitsExposure_ = true;
        return;
    }
    activationAwaitsExposure_ = false;
    repaint();  // the whole window, menu bar included, is on screen before the intro starts
    guarded([this] { FormActivate(); });
}

void Tprincipal::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);  // once: filters are kept unique
}

bool Tprincipal::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && activationAwaitsExposure_ && watched == windowHandle()) {
        // After the window has handled its exposure (and painted itself).
        QTimer::singleShot(0, this, [this] { activateFirstTime(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tprincipal::keyPressEvent(QKeyEvent* event) {
    const int key = vk::fromQt(*event);
    guarded([this, key] { FormKeyDown(key); });
    event->accept();
}

void Tprincipal::closeEvent(QCloseEvent* event) {
    if (!exited_ && platform_.clock.sleeping()) {
        // A blocking play holds the game (the desktop asked to close the window meanwhile): the
        // close is handled when the play is over, like any other command.
        event->ignore();
        platform_.clock.callLater(0, [this] { close(); });
        return;
    }
    if (!exited_) guarded([this] { FormClose(); });
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Screens

void Tprincipal::attach(Screen& screen) {
    if (screen.scene() != scene_) scene_->addItem(&screen);
    screen.setPos(0, 0);
    screen.show();
    if (std::find(attached_.begin(), attached_.end(), &screen) == attached_.end())
        attached_.push_back(&screen);
    reading_->screenShown(screen);
    updateSceneRect();
}

void Tprincipal::release(std::unique_ptr<Screen> screen) {
    if (!screen) return;
    screen->shutdown();
    reading_->screenLeft(*screen);
    std::erase(attached_, screen.get());
    screen->hide();
    if (screen->scene()) screen->scene()->removeItem(screen.get());
    updateSceneRect();
    platform_.guard.release(std::move(screen));
}

const TQuestionnaire* Tprincipal::questionnaire() const {
    return screens_.niv ? &screens_.niv->questionnaire() : nullptr;
}

std::vector<Screen*> Tprincipal::attachedScreens() const {
    return attached_;
}

void Tprincipal::updateSceneRect() {
    if (fullScreen_) {
        // Scaled to the screen, the game's screen is what shows, whatever is on it.
        scene_->setSceneRect(layout::screen);
        return;
    }
    // Automatic scroll bars: they show when a screen reaches beyond the client area.
    QRectF rect(0, 0, layout::principal::clientWidth, layout::principal::clientHeight);
    for (const QGraphicsItem* item : scene_->items())
        if (!item->parentItem() && item->isVisible()) rect |= item->sceneBoundingRect();
    scene_->setSceneRect(rect);
}

int Tprincipal::visibleWidth() const {
    const QScrollBar* bar = view_->verticalScrollBar();
    return layout::principal::clientWidth -
           bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
}

void Tprincipal::repaintNow() {
    updateSceneRect();
    view_->viewport()->repaint();
}

void Tprincipal::waitUntil(const std::function<bool()>& done) {
    WaitState state;
    waits_.push_back(&state);
    struct Unregister {
        std::vector<WaitState*>& waits;
        WaitState* state;
        ~Unregister() { std::erase(waits, state); }
    } unregister{waits_, &state};
    while (!state.abandoned && !exited_ && !done()) platform_.clock.processMessages();
    if (state.abandoned || exited_) throw Abandoned{};
}

}  // namespace vorn
