#include "viewing/frmWall.h"

#include "fetch/CamPanel.h"
#include "platform/program/ProductInfo.h"
#include "skin/modSkin.h"
#include "viewing/BlackBackground.h"
#include "viewing/WallTile.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace {

constexpr int Gap = 2;

} // namespace

frmWall::frmWall(PanelPool& panels, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window)
    , panels_(&panels)
    , mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmWall"));
    setWindowTitle(QStringLiteral("Ombrel :: Wall"));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    UseBlackBackground(*this);

    lblNoCams = new QLabel(this);
    lblNoCams->setObjectName(QStringLiteral("lblNoCams"));
    lblNoCams->setAccessibleName(QStringLiteral("No cam open"));
    lblNoCams->setAlignment(Qt::AlignCenter);
    lblNoCams->setWordWrap(true);
    for (int slot = 0; slot < PanelPool::MaxOpenCams; ++slot) {
        auto* tile = new WallTile(slot, this);
        tile->hide();
        connect(tile, &WallTile::Clicked, this, &frmWall::TileClicked);
        connect(tile, &WallTile::DoubleClicked, this, &frmWall::ShowAloneRequested);
        tiles_[size_t(slot)] = tile;
    }
    // The skin's colours, but no covers over the labels: covers keep the
    // place a label had when they were laid, and these labels move with the
    // window's size.
    if (bSkinEnabled)
        ApplySkin(this);
    lblNoCams->setText(QStringLiteral("No cam is open. Start cams in the main window and they "
                                      "appear here."));

    connect(&panels, &PanelPool::PanelsChanged, this, &frmWall::followPanels);
    connect(&panels, &PanelPool::PanelPictureShown, this, &frmWall::showPicture);
    // A condition changes as a fetch ends, and as a picture stays the same
    // from one second to the next.
    connect(&panels, &PanelPool::FetchEnded, this, &frmWall::showCondition);
    for (int slot = 0; slot < PanelPool::MaxOpenCams; ++slot)
        connect(&panels.Panel(slot), &CamPanel::Tick, this, &frmWall::showCondition);
    followPanels();
}

frmWall::~frmWall() {
    withdrawViewSizes();
}

void frmWall::Open() {
    if (isHidden()) {
        if (const QScreen* screen = mainWindow_->screen())
            setGeometry(screen->availableGeometry());
        showMaximized();
    }
    raise();
    activateWindow();
}

void frmWall::ToggleFullScreen() {
    if (isFullScreen()) {
        showMaximized();
    } else {
        if (const QScreen* screen = this->screen())
            setGeometry(screen->geometry());
        showFullScreen();
    }
    holdScreenSaverWhileFullScreen();
}

WallTile* frmWall::Tile(int slot) const {
    return slot >= 0 && slot < PanelPool::MaxOpenCams && isOpen(slot) ? tiles_[size_t(slot)]
                                                                      : nullptr;
}

bool frmWall::isOpen(int slot) const {
    return panels_ && !panels_->Panel(slot).isHidden();
}

// Tiles for the open cams, with their names, pictures and states; the
// closed ones' tiles let their pictures go.
void frmWall::followPanels() {
    for (int slot = 0; slot < PanelPool::MaxOpenCams; ++slot) {
        WallTile* tile = tiles_[size_t(slot)];
        if (!isOpen(slot)) {
            tile->hide();
            tile->SetPicture({});
            if (panels_ && !viewSizes_[size_t(slot)].isEmpty())
                panels_->SetViewSize(slot, this, {});
            viewSizes_[size_t(slot)] = {};
            continue;
        }
        const CamPanel& panel = panels_->Panel(slot);
        tile->SetName(panel.CamName());
        tile->SetPicture(panel.ShownPicture());
        tile->SetCondition(panels_->Condition(slot));
        tile->show();
    }
    layOutTiles();
}

void frmWall::layOutTiles() {
    QList<int> open;
    QList<QSize> sizes;
    for (int slot = 0; slot < PanelPool::MaxOpenCams; ++slot) {
        if (!isOpen(slot))
            continue;
        open << slot;
        sizes << panels_->State(slot).ArrivedPicture.size();
    }
    shape_ = CommonShape(sizes);
    grid_ = ChooseWallGrid(int(open.size()), size(), shape_, Gap);
    for (qsizetype i = 0; i < open.size(); ++i) {
        tiles_[size_t(open[i])]->setGeometry(WallCell(grid_, size(), int(i)));
        tellViewSize(open[i]);
    }
    lblNoCams->setGeometry(rect().adjusted(20, 20, -20, -20));
    lblNoCams->setVisible(open.isEmpty());
}

// Only the tile whose picture changed is painted again; a picture of a new
// shape may change the grid.
void frmWall::showPicture(int slot) {
    if (slot >= PanelPool::MaxOpenCams || !isOpen(slot))
        return;
    tiles_[size_t(slot)]->SetPicture(panels_->Panel(slot).ShownPicture());
    QList<QSize> sizes;
    for (int open = 0; open < PanelPool::MaxOpenCams; ++open) {
        if (isOpen(open))
            sizes << panels_->State(open).ArrivedPicture.size();
    }
    if (CommonShape(sizes) != shape_)
        layOutTiles();
    else
        tellViewSize(slot);
}

void frmWall::showCondition(int slot) {
    if (slot >= 0 && slot < PanelPool::MaxOpenCams && isOpen(slot))
        tiles_[size_t(slot)]->SetCondition(panels_->Condition(slot));
}

// The pool decodes the slot's next pictures for the tile: the size its
// picture takes in it, in device pixels.
void frmWall::tellViewSize(int slot) {
    const WallTile* tile = tiles_[size_t(slot)];
    const QSize picture = panels_->State(slot).ArrivedPicture.size();
    const QSize fitted =
        picture.isEmpty() ? grid_.picture : FittedPicture(picture, tile->rect()).size();
    const QSize device = (QSizeF(fitted) * devicePixelRatioF()).toSize();
    if (device == viewSizes_[size_t(slot)])
        return;
    viewSizes_[size_t(slot)] = device;
    panels_->SetViewSize(slot, this, device);
}

void frmWall::withdrawViewSizes() {
    for (int slot = 0; slot < PanelPool::MaxOpenCams; ++slot) {
        if (panels_ && !viewSizes_[size_t(slot)].isEmpty())
            panels_->SetViewSize(slot, this, {});
        viewSizes_[size_t(slot)] = {};
    }
}

void frmWall::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOutTiles();
}

void frmWall::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11)
        ToggleFullScreen();
    else if (event->key() == Qt::Key_Escape && isFullScreen())
        ToggleFullScreen();
    else
        QWidget::keyPressEvent(event);
}

void frmWall::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        holdScreenSaverWhileFullScreen();
}

void frmWall::holdScreenSaverWhileFullScreen() {
    if (isFullScreen() && isVisible()) {
        if (!screenSaverHeld_)
            screenSaverHeld_.emplace();
    } else {
        screenSaverHeld_.reset();
    }
}

// Closed, the wall costs nothing: the pictures go back to the panels' size.
void frmWall::closeEvent(QCloseEvent* event) {
    screenSaverHeld_.reset();
    withdrawViewSizes();
    QWidget::closeEvent(event);
}
