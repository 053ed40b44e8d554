#include "tests/support/MainWindowFixture.h"

#include "camlist/CamEntry.h"
#include "camlist/CamListFile.h"
#include "camlist/CamListPane.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"

#include <QListView>
#include <QTest>
#include <QTimer>

MainWindowFixture::MainWindowFixture(const QStringList& cams, const QString& refresh)
    : serverTime_(QDate(2006, 12, 5), QTime(10, 0), Qt::UTC)
    // Never the real time server: without the local one, a port nobody answers on.
    , timeServer_("OMBREL_TIME_SERVER",
                  "127.0.0.1:" + QByteArray::number(daytime_.listen() ? daytime_.port() : 9)) {
    simulator_.setPictureSize({160, 120});
    simulator_.setTimeSource([this] { return serverTime_; });
    simulator_.listen();
    daytime_.setTimeSource([this] { return serverTime_; });
    CreateCamListIfMissing(folder_.file("00camlist.txt"));
    for (const QString& cam : cams)
        addCam(cam, refresh);
    startWindow();
}

void MainWindowFixture::startWindow() {
    form_ = std::make_unique<Form1>();
    form_->Form_Load();
    form_->setWindowState(Qt::WindowNoState);
    form_->resize(1280, 1024);
    form_->show();
}

MainWindowFixture::~MainWindowFixture() {
    pool().cmdStopAll_Click();
    form_.reset();
}

void MainWindowFixture::restart() {
    pool().cmdStopAll_Click();
    form_.reset();
    startWindow();
}

PanelPool& MainWindowFixture::pool() {
    return *form_->panels_;
}

CamListPane& MainWindowFixture::listPane() {
    return *form_->listPane_;
}

DetailsPane& MainWindowFixture::details() {
    return *form_->details_;
}

void MainWindowFixture::addCam(const QString& name, const QString& refresh,
                               CamBehaviours behaviours) {
    simulator_.addCam(name, QColor::fromHsv(int(qHash(name) % 360), 160, 200), behaviours);
    AppendCamEntry(folder_.file("00camlist.txt"), {name, simulator_.url(name), refresh});
}

void MainWindowFixture::reloadList() {
    QAbstractItemModel* names = Find<QListView>(form(), "List1")->model();
    names->removeRows(0, names->rowCount());
    listPane().LoadCamList();
}

void MainWindowFixture::listOnly(const QString& name) {
    QAbstractItemModel* names = Find<QListView>(form(), "List1")->model();
    const int row = names->rowCount();
    names->insertRow(row);
    names->setData(names->index(row, 0), name);
}

void MainWindowFixture::setServerTime(const QDateTime& utc) {
    serverTime_ = utc;
}

bool MainWindowFixture::select(const QString& name) {
    auto* list = Find<QListView>(form(), "List1");
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       name, 1, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    list->scrollTo(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(found.first()).center());
    return list->selectionModel()->isSelected(found.first());
}

void MainWindowFixture::start(const QString& name) {
    QVERIFY2(select(name), qPrintable(name));
    QVERIFY(Click(form(), "cmdStartCam"));
}

CamPanel& MainWindowFixture::panel(int slot) {
    return pool().Panel(slot);
}

bool MainWindowFixture::indicatorShown(int slot) {
    return !FindControl(panel(slot), "imgRefresh")->isHidden();
}

bool MainWindowFixture::ticking(int slot) {
    return panel(slot).findChild<QTimer*>("timRefresh")->isActive();
}

void MainWindowFixture::clickPicture(int slot) {
    QVERIFY(Click(panel(slot), "imgCam"));
}

bool MainWindowFixture::waitForArrival(int slot, int timeoutMs) {
    return WaitUntil([&] { return !indicatorShown(slot); }, timeoutMs);
}

int MainWindowFixture::openPanels() {
    int open = 0;
    for (int slot = 0; slot < PanelPool::SlotCount; ++slot)
        open += panel(slot).isHidden() ? 0 : 1;
    return open;
}

QStringList MainWindowFixture::listedCams() {
    QStringList names;
    auto* list = form().findChild<QListView*>("List1");
    for (int row = 0; list && row < list->model()->rowCount(); ++row)
        names << list->model()->index(row, 0).data().toString();
    return names;
}
