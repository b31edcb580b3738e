#include "app/main.h"

#include "core/layout.h"
#include "core/level.h"
#include "core/pack.h"
#include "core/progression.h"
#include "platform/keys.h"
#include "platform/screen.h"
#include "records/Player.h"
#include "records/Save.h"
#include "screens/HighScores.h"
#include "screens/anim.h"
#include "screens/resultats.h"
#include "screens/titre.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace vorn {

namespace {

// The client area: a view of the scene. Keys go to a focused item of the scene (the name entry's
// edit box) when there is one; every other key goes to the main window's key handler.
class SceneView : public QGraphicsView {
public:
    SceneView(QGraphicsScene* scene, Tprincipal* window) : QGraphicsView(scene, window), window_(window) {}

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

private:
    Tprincipal* window_;
};

}  // namespace

Tprincipal::Tprincipal(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform), hasard_(platform.clock), son_(platform.backend) {
    setObjectName(QStringLiteral("principal"));
    setWindowTitle(QStringLiteral("V.O.R.N. VOZID"));
    // Single fixed border; system menu and minimize, no maximize.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    scene_ = new QGraphicsScene(this);
    scene_->setBackgroundBrush(Qt::black);
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
    buildMenu();
    updateSceneRect();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    // Centred on the desktop when shown.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setFocusPolicy(Qt::StrongFocus);
    view_->setFocus();

    onExit_ = [] { QCoreApplication::quit(); };
    FormCreate();
}

Tprincipal::~Tprincipal() {
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
    auto item = [this](QMenu* parent, const char* name, const QString& caption, std::function<void()> handler) {
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
    item(options, "N640x480pleincran1", QStringLiteral("640x480 plein écran"), {});
    item(options, "N640x480fentr1", QStringLiteral("640x480 fenêtré"), {});

    QMenu* aide = menu(nullptr, "aide1", QStringLiteral("aide"));
    QAction* regles = item(aide, "rglesdujeu1", QStringLiteral("règles du jeu           F1"),
                           [this] { rglesdujeu1Click(); });
    regles->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    QAction* separator = aide->addSeparator();
    separator->setObjectName(QStringLiteral("N1"));
    item(aide, "propos1", QStringLiteral("à propos"), {});
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
        tanim intro(0, *this);
        intro.joue();
    }
    screens_.titre = std::make_unique<Tecrantitre>(*this);
    screens_.titre->play(*this);
}

void Tprincipal::demarrer() {
    etat_.score = 0;
    etat_.Niveau = 1;
    startLevel(*this, 1);
}

// ---------------------------------------------------------------------------------------------
// Teardown and restart

void Tprincipal::init() {
    // Any results or high-score wait in progress ends: its screen is going away.
    abandonWaits();
    screens_.teardown(*this);
}

void Tprincipal::redmarrer1Click() {
    init();
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
    if (etat_.AttenteReponse && screens_.niv && screens_.niv->pret()) screens_.niv->resultat(key);
}

void Tprincipal::FormClose() {
    init();
    son_.restaureVolumes();
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
    init();
    screens_.scores = std::make_unique<tscores>();
    screens_.scores->charger();
    showBestPlayers(*this);
    redmarrer1Click();
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
    if (QWindow* window = windowHandle()) window->installEventFilter(this);  // once: filters are kept unique
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
    if (std::find(attached_.begin(), attached_.end(), &screen) == attached_.end()) attached_.push_back(&screen);
    updateSceneRect();
}

void Tprincipal::release(std::unique_ptr<Screen> screen) {
    if (!screen) return;
    screen->shutdown();
    std::erase(attached_, screen.get());
    screen->hide();
    if (screen->scene()) screen->scene()->removeItem(screen.get());
    updateSceneRect();
    platform_.guard.release(std::move(screen));
}

std::vector<Screen*> Tprincipal::attachedScreens() const {
    return attached_;
}

void Tprincipal::updateSceneRect() {
    // Automatic scroll bars: they show when a screen reaches beyond the client area.
    QRectF rect(0, 0, layout::principal::clientWidth, layout::principal::clientHeight);
    for (const QGraphicsItem* item : scene_->items())
        if (!item->parentItem() && item->isVisible()) rect |= item->sceneBoundingRect();
    scene_->setSceneRect(rect);
}

int Tprincipal::visibleWidth() const {
    const QScrollBar* bar = view_->verticalScrollBar();
    return layout::principal::clientWidth - bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
}

void Tprincipal::repaintNow() {
    updateSceneRect();
    view_->viewport()->repaint();
}

void Tprincipal::attendre(const std::function<bool()>& done) {
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
