#include "measure.h"

#include <model/keyboard/model_quorparam.h>

#include <QtCore/QtGlobal>

#include <memory>

// The keyboard model: construction, the default labels, the grid labels, the test patterns and
// the full dump into a message handler that drops every message.

namespace {

void silentHandler(QtMsgType, const QMessageLogContext &, const QString &)
{ }

void construct(benchmark::State &state)
{
    // The model is about 100 kB: built on the heap, as a client would hold it.
    const auto build = [] {
        auto model = std::make_unique<Model_QuorParam>();
        benchmark::DoNotOptimize(model.get());
        benchmark::ClobberMemory();
    };
    measure::countAllocations(state, build);
    measure::timedLoop(state, build);
}

template<void (*Op)(Model_QuorParam &)>
void operation(benchmark::State &state)
{
    const auto model = std::make_unique<Model_QuorParam>();
    const auto run = [&model] {
        Op(*model);
        benchmark::ClobberMemory();
    };
    measure::countAllocations(state, run);
    measure::timedLoop(state, run);
}

void initKeyBoradData(Model_QuorParam &m)
{
    m.initKeyBoradData();
}
void initShortcutsGrid(Model_QuorParam &m)
{
    m.initShortcuts(true);
}
void initOLEDTest(Model_QuorParam &m)
{
    m.initOLEDTest();
}
void printAllData(Model_QuorParam &m)
{
    m.printAllData(5, 0);
}

void printAllDataSilently(benchmark::State &state)
{
    const QtMessageHandler previous = qInstallMessageHandler(silentHandler);
    operation<printAllData>(state);
    qInstallMessageHandler(previous);
}

} // namespace

void registerKeyboardBenchmarks()
{
    benchmark::RegisterBenchmark("Model_QuorParam/construct", construct);
    benchmark::RegisterBenchmark("Model_QuorParam/initKeyBoradData", operation<initKeyBoradData>);
    benchmark::RegisterBenchmark("Model_QuorParam/initShortcuts(true)",
                                 operation<initShortcutsGrid>);
    benchmark::RegisterBenchmark("Model_QuorParam/initOLEDTest", operation<initOLEDTest>);
    benchmark::RegisterBenchmark("Model_QuorParam/printAllData(5,0)", printAllDataSilently);
}
