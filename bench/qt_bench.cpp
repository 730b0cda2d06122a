// From a key press in an amount field to every result field updated, in the
// real Qt window on the offscreen platform: with short amounts, and with every
// amount field as full as a field can be.
#include "form1.h"
#include "form1layout.h"
#include "graintable.h"
#include "memoryfieldstore.h"
#include "qtplatform.h"
#include "recalculate.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

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

// The most a QLineEdit holds unless told otherwise.
constexpr qsizetype longestText = 32767;

// Every reading must walk all 32,767 characters before it knows the number.
QString longAmount(char lastDigit) {
    return QString(longestText - 1, u'0') + QChar::fromLatin1(lastDigit);
}

// The texts shown in the figures after a run on these amount texts.
std::vector<std::string> figuresFor(const std::array<QString, grainCount>& amounts) {
    MemoryFieldStore core;
    for (std::size_t row = 0; row < grainCount; ++row)
        core.writeField(grainTable[row].field, amounts[row].toStdString());
    recalculate(core);
    std::vector<std::string> figures{core.readField(FieldId::amount)};
    for (Nutrient n : allNutrients)
        figures.push_back(core.readField(resultField(n)));
    return figures;
}

std::vector<std::string> figuresShown(const QtPlatform& platform) {
    std::vector<std::string> figures{platform.text(controlOf(FieldId::amount))};
    for (Nutrient n : allNutrients)
        figures.push_back(platform.text(controlOf(resultField(n))));
    return figures;
}

// Barley's last digit is typed and erased in turn, so every key changes the
// mix and with it every figure.
void keystrokeWithEveryFieldFull(benchmark::State& state) {
    QtPlatform platform;
    Form1 form(platform);
    std::array<QString, grainCount> amounts;
    for (std::size_t row = 0; row < grainCount; ++row) {
        amounts[row] = longAmount(row == 0 ? '9' : '1');
        auto* edit = qobject_cast<QLineEdit*>(platform.control(controlOf(grainTable[row].field)));
        edit->setText(amounts[row]);
    }
    const std::vector<std::string> withNine = figuresFor(amounts);
    amounts[0].chop(1);
    const std::vector<std::string> withoutNine = figuresFor(amounts);
    for (std::size_t i = 0; i < withNine.size(); ++i)
        if (withNine[i] == withoutNine[i])
            state.SkipWithError("a key would leave a figure unchanged; pick other amounts");
    if (figuresShown(platform) != withNine)
        state.SkipWithError("the window does not show the figures of its amounts");

    auto* barley = qobject_cast<QLineEdit*>(platform.control(controlOf(FieldId::Text1)));
    barley->setFocus();
    QTest::keyClick(barley, Qt::Key_End);

    std::vector<double> seconds;
    bool erase = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (erase)
            QTest::keyClick(barley, Qt::Key_Backspace);
        else
            QTest::keyClick(barley, Qt::Key_9);
        const auto end = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(end - start).count());
        state.SetIterationTime(seconds.back());

        if (figuresShown(platform) != (erase ? withoutNine : withNine)) {
            state.SkipWithError("a keystroke did not bring the figures up to date");
            break;
        }
        erase = !erase;
    }
    if (seconds.empty())
        return;
    std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
    state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
}

BENCHMARK(keystrokeWithEveryFieldFull)->UseManualTime()->Unit(benchmark::kMillisecond);

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
