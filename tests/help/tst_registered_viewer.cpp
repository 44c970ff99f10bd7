#include "help/core/RegisteredViewer.h"

#include <QtTest>

#include <map>
#include <set>
#include <tuple>

namespace {

using help::RegistryRoot::LocalMachine;

// An in-memory registry that also remembers which values were asked for.
class FakeRegistry : public help::KeyValueReader {
public:
    void Set(std::int32_t root, const std::string& key, const std::string& value, const std::string& data)
    {
        values_[{root, key, value}] = data;
    }

    bool GetKeyValue(std::int32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal) const override
    {
        asked.push_back(SubKeyRef);
        const auto found = values_.find({KeyRoot, KeyName, SubKeyRef});
        KeyVal = found == values_.end() ? std::string() : found->second;
        return found != values_.end();
    }

    mutable std::vector<std::string> asked;

private:
    std::map<std::tuple<std::int32_t, std::string, std::string>, std::string> values_;
};

class FakeFiles : public help::FileProbe {
public:
    std::set<std::string> existing;
    bool Exists(const std::string& path) const override { return existing.count(path) > 0; }
};

const std::string PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

} // namespace

class RegisteredViewerTest : public QObject {
    Q_OBJECT

private slots:
    void viewerFromTheFirstPlaceIsTakenAsItStands();
    void viewerFromTheSecondPlaceNeedsItsFile();
    void noViewerWithoutEitherPlace();
};

void RegisteredViewerTest::viewerFromTheFirstPlaceIsTakenAsItStands()
{
    FakeRegistry registry;
    FakeFiles files;
    registry.Set(LocalMachine, PathKey, "PATH", "C:\\Programs\\Missing Viewer\\msinfo32.exe");
    registry.Set(LocalMachine, FolderKey, "MSINFO", "C:\\Other");
    files.existing.insert("C:\\Other\\MSINFO32.EXE");
    // No file check for the first place, and the second is not consulted.
    QCOMPARE(help::FindRegisteredViewer(registry, files),
             std::optional<std::string>("C:\\Programs\\Missing Viewer\\msinfo32.exe"));
    QCOMPARE(registry.asked, std::vector<std::string>{"PATH"});

    // A value that was found without text (another type) still settles it: the launch
    // of an empty path fails and the user gets the message.
    FakeRegistry emptyFirst;
    emptyFirst.Set(LocalMachine, PathKey, "PATH", "");
    emptyFirst.Set(LocalMachine, FolderKey, "MSINFO", "C:\\Other");
    QCOMPARE(help::FindRegisteredViewer(emptyFirst, files), std::optional<std::string>(""));

    // The locator used by the dialog reads the same places.
    help::RegistryViewerLocator locator(registry, std::make_unique<FakeFiles>());
    QCOMPARE(locator.FindViewer(), std::optional<std::string>("C:\\Programs\\Missing Viewer\\msinfo32.exe"));
}

void RegisteredViewerTest::viewerFromTheSecondPlaceNeedsItsFile()
{
    FakeRegistry registry;
    FakeFiles files;
    registry.Set(LocalMachine, FolderKey, "MSINFO", "C:\\Program Files\\Shared\\MSInfo");
    QVERIFY(!help::FindRegisteredViewer(registry, files));

    files.existing.insert("C:\\Program Files\\Shared\\MSInfo\\MSINFO32.EXE");
    QCOMPARE(help::FindRegisteredViewer(registry, files),
             std::optional<std::string>("C:\\Program Files\\Shared\\MSInfo\\MSINFO32.EXE"));
    QCOMPARE(registry.asked, (std::vector<std::string>{"PATH", "MSINFO", "PATH", "MSINFO"}));

    // A folder stored with its trailing separator does not get a second one.
    FakeRegistry trailing;
    trailing.Set(LocalMachine, FolderKey, "MSINFO", "C:\\Program Files\\Shared\\MSInfo\\");
    QCOMPARE(help::FindRegisteredViewer(trailing, files),
             std::optional<std::string>("C:\\Program Files\\Shared\\MSInfo\\MSINFO32.EXE"));
}

void RegisteredViewerTest::noViewerWithoutEitherPlace()
{
    FakeRegistry registry;
    FakeFiles files;
    files.existing.insert("\\MSINFO32.EXE");
    QVERIFY(!help::FindRegisteredViewer(registry, files));

    // The right names under the wrong root do not count.
    registry.Set(help::RegistryRoot::CurrentUser, PathKey, "PATH", "C:\\viewer.exe");
    QVERIFY(!help::FindRegisteredViewer(registry, files));
}

QTEST_GUILESS_MAIN(RegisteredViewerTest)
#include "tst_registered_viewer.moc"
