#include "TestSupport.h"

#include <QApplication>
#include <QStandardPaths>

namespace {

// Settings, data, caches and the runtime folder of this process and of the programs it starts, apart
// from every other test process running at the same time.
QTemporaryDir& scratch()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quillet-test-XXXXXX"));
    return dir;
}

void useOwnFolders()
{
    // A test's child process (started with this program's path) keeps the folders of its parent.
    if (qEnvironmentVariableIsSet("QUILLET_TEST_FOLDERS"))
        return;
    qputenv("QUILLET_TEST_FOLDERS", "1");
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = scratch().filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(name, QFile::encodeName(path));
    }
}

}  // namespace

// The sanitizers' settings of every test process, however it is started (ctest, by hand, as a test's
// child); ASAN_OPTIONS, LSAN_OPTIONS and UBSAN_OPTIONS in the environment still override them.
extern "C" const char* __asan_default_options() { return "detect_leaks=1"; }
extern "C" const char* __lsan_default_options() { return "suppressions=" QUILLET_LSAN_SUPPRESSIONS ":print_suppressions=0"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }

namespace testsupport {
QString processSettingsFolder() { return qEnvironmentVariable("XDG_CONFIG_HOME"); }
}  // namespace testsupport

int main(int argc, char** argv)
{
    // Widget tests run without a display; settings never touch the user's real store.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    useOwnFolders();
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    testsupport::useSettingsFolder(testsupport::processSettingsFolder());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
