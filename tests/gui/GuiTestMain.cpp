// Runs the QTest classes of the GUI tests: all of them, or the one named by the first argument.
#include <QApplication>
#include <QTest>
#include <cstring>
#include <vector>

#include "GuiTestSupport.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    const char *only = argc > 1 ? argv[1] : nullptr;
    std::vector<char *> testArguments = {argv[0]};
    for (int i = 2; i < argc; ++i) {
        testArguments.push_back(argv[i]);
    }
    int failures = 0;
    int run = 0;
    for (const guitest::TestClass &test : guitest::TestClasses()) {
        if (only != nullptr && std::strcmp(only, test.name) != 0) {
            continue;
        }
        ++run;
        std::unique_ptr<QObject> object = test.create();
        failures += QTest::qExec(object.get(), static_cast<int>(testArguments.size()), testArguments.data());
    }
    return run == 0 ? 1 : failures;
}
