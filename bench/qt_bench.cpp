// From a key press in an amount field to every result field updated, in the
// real Qt window on the offscreen platform.
#include "form1.h"
#include "qtplatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// Barley holds 1; each key either types a 2 after Maize's "0" or takes it away
// again, so every press changes the total, the five sums and the five results.
void keyPressToResults(benchmark::State& state) {
    QtPlatform platform;
    Form1 form(platform);
    QWidget* window = platform.window();
    auto* barley = window->findChild<QLineEdit*>("Text1");
    auto* maize = window->findChild<QLineEdit*>("Text2");
    auto* fat = window->findChild<QLineEdit*>("Fat");
    barley->setText("1");
    maize->setFocus();
    QTest::keyClick(maize, Qt::Key_End);

    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(maize, typed ? Qt::Key_Backspace : Qt::Key_2);
        typed = !typed;
        benchmark::DoNotOptimize(fat->text().size());
    }

    const QString expected = typed ? "3.23333333333333" : "1.9";
    if (fat->text() != expected)
        state.SkipWithError("the results were not updated");
}
BENCHMARK(keyPressToResults)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
