// The menu page (197) with a tree menu of 1,000 items against its floors: loading the page
// against building a tree of as many items, and Next (checking and storing the page, then
// the next page) against writing the same menu into the store. The memory a page of 1,000
// items takes beyond an empty one is reported per item.
#include "Reporter.h"
#include "pages/Page.h"
#include "services/Services.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"
#include "tag/MenuKeys.h"
#include "wizard/PageFlow.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

using namespace vexa;

namespace {

constexpr int Items = 1000;

// Services that answer nothing: the page must not ask.
class QuietServices : public Services {
public:
    void showMessage(const Message &) override {}
    bool ask(const Message &) override { return false; }
    QString openFile(const QString &) override { return {}; }
    QStringList openFiles(const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &) override { return {}; }
    std::optional<QColor> chooseColour(const QColor &) override { return std::nullopt; }
    void setClipboardText(const QString &) override {}
    bool openInBrowser(const QString &, QString &) override { return true; }
    void openInBrowserLater(const QString &, std::function<void(const QString &)>) override {}
    bool openFolder(const QString &) override { return true; }
    void showTextDocument(const QString &) override {}
    void showInfo(const InfoNotice &) override {}
    std::optional<QString> chooseBrowser(const QString &) override { return std::nullopt; }
    void showAbout() override {}
};

// Ten folders of 99 links each, and ten links at the top.
MenuTree menu(int items)
{
    MenuTree tree;
    for (int folder = 0; tree.items.size() < 20 && folder * 100 < items; ++folder) {
        MenuItem item;
        item.text = QStringLiteral("Folder %1").arg(folder);
        item.record = MenuRecord{};
        for (int link = 0; link < 99 && folder * 100 + link + 1 < items; ++link) {
            MenuItem child;
            child.text = QStringLiteral("Link %1.%2").arg(folder).arg(link);
            child.record = MenuRecord{};
            child.record->url = QStringLiteral("page%1.html").arg(link);
            item.children.append(child);
        }
        tree.items.append(item);
    }
    return tree;
}

struct World {
    QTemporaryDir dir;
    SilentReporter reporter;
    QuietServices services;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Folders> folders;
    MenuTree tree;

    explicit World(int items) : tree(menu(items))
    {
        store = std::make_unique<SettingsStore>(dir.filePath("s.conf"), QString(), reporter);
        store->write(QString(), QStringLiteral("Dir"), dir.path());
        folders = std::make_unique<Folders>(*store);
        store->startFromDefaults(QStringLiteral("TREEMENU"));
        MenuKeys::writeTree(*store, tree, {"folder.gif", "page.gif"});
    }
    PageContext context() { return PageContext{*store, *folders, services, QStringLiteral("TREEMENU"), WalkFlags{}}; }
};

long residentKb()
{
    std::ifstream status("/proc/self/statm");
    long pages = 0, resident = 0;
    status >> pages >> resident;
    return resident * 4;
}

void MenuPageLoad(benchmark::State &state)
{
    World world(Items);
    PageContext context = world.context();
    for (auto _ : state) {
        Page page(PageFlow::MenuItemsPage, context);
        page.load(false);
        benchmark::DoNotOptimize(page.control(1446));
    }
}

void TreeWidgetFloor(benchmark::State &state)
{
    const QIcon folder = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon file = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    for (auto _ : state) {
        QTreeWidget tree;
        for (int i = 0; i < Items; ++i) {
            auto *item = new QTreeWidgetItem(&tree, {QStringLiteral("Item %1").arg(i)});
            item->setIcon(0, i % 100 == 0 ? folder : file);
        }
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
}

void NextFromMenuPage(benchmark::State &state)
{
    World world(Items);
    PageContext context = world.context();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page>(PageFlow::MenuItemsPage, context);
        page->load(false);
        state.ResumeTiming();
        page->validate();
        page->store();
        page.reset();
        Page next(PageFlow::next(PageFlow::MenuItemsPage, context.appletId, context.flags), context);
        next.load(false);
    }
}

void StoreMenuFloor(benchmark::State &state)
{
    World world(Items);
    for (auto _ : state)
        MenuKeys::writeTree(*world.store, world.tree, {"folder.gif", "page.gif"});
}

void MemoryPerItem(benchmark::State &state)
{
    World empty(0), full(Items);
    PageContext emptyContext = empty.context(), fullContext = full.context();
    for (auto _ : state) {
        const long before = residentKb();
        Page bare(PageFlow::MenuItemsPage, emptyContext);
        bare.load(false);
        const long withEmpty = residentKb();
        Page page(PageFlow::MenuItemsPage, fullContext);
        page.load(false);
        state.counters["KB per item"] = double(residentKb() - withEmpty) / Items;
        state.counters["KB empty page"] = double(withEmpty - before);
    }
}

} // namespace

BENCHMARK(MenuPageLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeWidgetFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(NextFromMenuPage)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreMenuFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryPerItem)->Iterations(1);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
