#include "help/core/RegisteredViewer.h"

#include <QtTest>

#include <map>
#include <set>
#include <tuple>

namespace {

using help::RegistryRoot::CurrentUser;
using help::RegistryRoot::LocalMachine;
using Names = std::vector<std::string>;

// An in-memory registry that remembers which values were asked for, and the files that exist.
struct FakeSystem : help::KeyValueReader, help::FileProbe {
    std::map<std::tuple<std::int32_t, std::string, std::string>, std::string> values;
    std::set<std::string> files;
    mutable Names asked;

    bool GetKeyValue(std::int32_t root, const std::string& key, const std::string& value, std::string& text) const override
    {
        asked.push_back(value);
        const auto found = values.find({root, key, value});
        text = found == values.end() ? std::string() : found->second;
        return found != values.end();
    }
    bool Exists(const std::string& path) const override { return files.count(path) > 0; }
};

} // namespace

class RegisteredViewerTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheViewerInTheTwoPlacesInOrder();
};

// The first place is taken as it stands (even empty; no file check; the second not asked); the
// second needs its MSINFO32.EXE, joined without doubling a trailing backslash; else none.
void RegisteredViewerTest::findsTheViewerInTheTwoPlacesInOrder()
{
    const std::optional<std::string> none;
    const std::string folder = "C:\\Program Files\\Shared", viewer = folder + "\\MSINFO32.EXE";
    // The values stored in the two places (none: absent) under root, the one file that exists, the answer.
    const struct { const char* what; std::int32_t root; std::optional<std::string> first, second; std::string file;
                   std::optional<std::string> want; } cases[] = {
        {"first place, its file missing", LocalMachine, "C:\\Gone\\msinfo32.exe", folder, viewer, "C:\\Gone\\msinfo32.exe"},
        {"empty first place", LocalMachine, "", folder, viewer, ""},
        {"second place, its file missing", LocalMachine, none, folder, "C:\\Other\\MSINFO32.EXE", none},
        {"second place, its file there", LocalMachine, none, folder, viewer, viewer},
        {"second place with a trailing backslash", LocalMachine, none, folder + "\\", viewer, viewer},
        {"neither place", LocalMachine, none, none, "\\MSINFO32.EXE", none},
        {"both places under another root", CurrentUser, "C:\\viewer.exe", folder, viewer, none},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        if (c.first)
            system.values[{c.root, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"}] = *c.first;
        if (c.second)
            system.values[{c.root, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"}] = *c.second;
        system.files = {c.file};
        QVERIFY2(help::FindRegisteredViewer(system, system) == c.want, c.what);
        const bool firstFound = c.first && c.root == LocalMachine;
        QVERIFY2(system.asked == (firstFound ? Names{"PATH"} : Names{"PATH", "MSINFO"}), c.what);
        // The dialog's locator reads the same places.
        const help::RegistryViewerLocator locator(system, std::make_unique<FakeSystem>(system));
        QVERIFY2(locator.FindViewer() == c.want, c.what);
    }
}

QTEST_GUILESS_MAIN(RegisteredViewerTest)
#include "tst_registered_viewer.moc"
