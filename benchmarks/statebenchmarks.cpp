#include "measure.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/keyboard/model_quorparam.h>
#include <model/processor/modelcalyth.h>
#include <model/scene/modelscene.h>
#include <model/state/modelstate.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

// Save, restore and compare of the companion library on the largest tree of each model, each
// beside the Qt operation it is measured against, timed in the same benchmark function over as
// many iterations: save against QJsonDocument::toJson() of the document it produced, restore
// against QJsonDocument::fromJson() of that text, the ordered text against toJson() as well.

namespace {

// Nanoseconds per iteration of op, by the steady clock, over as many iterations as the measured
// operation ran, but for no longer than that took (nanoseconds per iteration) and at least once:
// a reference far slower than the operation would otherwise take minutes, and a brief run of the
// benchmark stays brief.
template<typename Op>
double timed(const benchmark::State &state, double nanoseconds, Op op)
{
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    op();
    std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
    const double budget = nanoseconds * double(state.iterations());
    const auto count = std::max<benchmark::IterationCount>(
        1,
        std::min<benchmark::IterationCount>(state.iterations(),
                                            benchmark::IterationCount(budget / elapsed.count())));
    start = Clock::now();
    for (benchmark::IterationCount i = 0; i < count; ++i)
        op();
    elapsed = Clock::now() - start;
    return elapsed.count() / double(count);
}

void reportAgainst(benchmark::State &state, const char *name, double operation, double reference)
{
    state.counters[std::string(name) + "_ns"] = reference;
    state.counters["ratio"] = reference > 0.0 ? operation / reference : 0.0;
}

template<typename Model>
std::unique_ptr<Model> largest(int code)
{
    auto model = std::make_unique<Model>();
    if constexpr (!std::is_same_v<Model, Model_QuorParam>)
        model->initParam(code);
    else
        model->initOLEDTest();
    return model;
}

template<typename Model>
void save(benchmark::State &state, int code)
{
    const auto model = largest<Model>(code);
    QJsonObject document;
    const double nanoseconds = measure::timedLoop(state, [&] {
        document = ModelState::save(*model);
        benchmark::ClobberMemory();
    });
    const double toJson = timed(
        state, nanoseconds, [&] { benchmark::DoNotOptimize(QJsonDocument(document).toJson()); });
    reportAgainst(state, "toJson", nanoseconds, toJson);
    state.counters["text_B"] = double(QJsonDocument(document).toJson().size());
}

template<typename Model>
void orderedText(benchmark::State &state, int code)
{
    const QJsonObject document = ModelState::save(*largest<Model>(code));
    const double nanoseconds = measure::timedLoop(
        state, [&] { benchmark::DoNotOptimize(ModelState::toJson(document)); });
    const double toJson = timed(
        state, nanoseconds, [&] { benchmark::DoNotOptimize(QJsonDocument(document).toJson()); });
    reportAgainst(state, "toJson", nanoseconds, toJson);
}

template<typename Model>
void restore(benchmark::State &state, int code)
{
    const QJsonObject document = ModelState::save(*largest<Model>(code));
    const QByteArray text = QJsonDocument(document).toJson();
    const auto model = std::make_unique<Model>();
    const double nanoseconds = measure::timedLoop(state, [&] {
        if (!ModelState::restore(*model, document))
            state.SkipWithError("restore refused its own document");
        benchmark::ClobberMemory();
    });
    const double fromJson = timed(state, nanoseconds,
                                  [&] { benchmark::DoNotOptimize(QJsonDocument::fromJson(text)); });
    reportAgainst(state, "fromJson", nanoseconds, fromJson);
}

// Two documents saved apart (they share no data) that differ in one leaf, as they do before and
// after a client edit.
template<typename Model>
void compare(benchmark::State &state, int code)
{
    const auto model = largest<Model>(code);
    const QJsonObject before = ModelState::save(*model);
    if constexpr (std::is_same_v<Model, Model_QuorParam>)
        model->m_interval = 1;
    else
        model->m_deviceCode = code + 1;
    const QJsonObject after = ModelState::save(*model);
    const double nanoseconds = measure::timedLoop(
        state, [&] { benchmark::DoNotOptimize(ModelState::compare(before, after)); });
    const double toJson = timed(state, nanoseconds,
                                [&] { benchmark::DoNotOptimize(QJsonDocument(before).toJson()); });
    reportAgainst(state, "toJson", nanoseconds, toJson);
}

// apply() of the differences compare() finds in the two documents above: the document is rebuilt
// along the paths of the differences alone.
template<typename Model>
void apply(benchmark::State &state, int code)
{
    const auto model = largest<Model>(code);
    const QJsonObject before = ModelState::save(*model);
    if constexpr (std::is_same_v<Model, Model_QuorParam>)
        model->m_interval = 1;
    else
        model->m_deviceCode = code + 1;
    const QVector<ModelStateDifference> differences
        = ModelState::compare(before, ModelState::save(*model));
    const double nanoseconds = measure::timedLoop(state, [&] {
        QJsonObject document = before;
        if (!ModelState::apply(document, differences))
            state.SkipWithError("apply refused the differences of compare");
        benchmark::DoNotOptimize(document);
    });
    measure::countAllocations(state, [&] {
        QJsonObject document = before;
        ModelState::apply(document, differences);
    });
    const double toJson = timed(state, nanoseconds,
                                [&] { benchmark::DoNotOptimize(QJsonDocument(before).toJson()); });
    reportAgainst(state, "toJson", nanoseconds, toJson);
}

// A processor document whose m_outputRecAList holds `records` records, every one valid but the
// last: restore() refuses it at that record without building the others. restore_ns is the
// restore of the same document with the last record valid, which builds them all.
void refuseLast(benchmark::State &state)
{
    const int records = int(state.range(0));
    const QJsonObject saved = ModelState::save(*largest<ModelCalyth>(0x2C0200));
    const QJsonValue record = saved.value(QLatin1String("m_outputRecAList")).toArray().at(0);
    QJsonArray list;
    for (int i = 0; i < records; ++i)
        list.append(record);
    QJsonObject good = saved;
    good.insert(QLatin1String("m_outputRecAList"), list);
    QJsonObject badRecord = record.toObject();
    badRecord.insert(QLatin1String("value8"), QLatin1String("x"));
    list[records - 1] = badRecord;
    QJsonObject bad = saved;
    bad.insert(QLatin1String("m_outputRecAList"), list);

    const auto model = std::make_unique<ModelCalyth>();
    const double nanoseconds = measure::timedLoop(state, [&] {
        if (ModelState::restore(*model, bad))
            state.SkipWithError("restore took a bad record");
    });
    measure::countAllocations(state, [&] { ModelState::restore(*model, bad); });
    const double restore = timed(state, nanoseconds, [&] { ModelState::restore(*model, good); });
    reportAgainst(state, "restore", nanoseconds, restore);
}

template<typename Model>
void registerModel(const char *name, int code)
{
    const std::string base = std::string("State/") + name + "/";
    const std::string suffix
        = code ? "/0x" + QString::number(code, 16).toUpper().toStdString() : "";
    benchmark::RegisterBenchmark((base + "save" + suffix).c_str(), [code](benchmark::State &s) {
        save<Model>(s, code);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((base + "restore" + suffix).c_str(), [code](benchmark::State &s) {
        restore<Model>(s, code);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((base + "compare" + suffix).c_str(), [code](benchmark::State &s) {
        compare<Model>(s, code);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((base + "toJson" + suffix).c_str(), [code](benchmark::State &s) {
        orderedText<Model>(s, code);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((base + "apply" + suffix).c_str(), [code](benchmark::State &s) {
        apply<Model>(s, code);
    })->Unit(benchmark::kMillisecond);
}

} // namespace

void registerStateBenchmarks()
{
    // The largest tree of each model: most layers for the scene (16 banks of 768), most outputs
    // for the processor; the bank player's and the IC model's trees are the same for their codes.
    registerModel<ModelScene>("ModelScene", 0x250301);
    registerModel<ModelCalyth>("ModelCalyth", 0x900000);
    registerModel<ModelBankPlayer>("ModelBankPlayer", 0x250301);
    registerModel<ModelIC>("ModelIC", 0x2D0000);
    registerModel<Model_QuorParam>("Model_QuorParam", 0);
    benchmark::RegisterBenchmark("State/ModelCalyth/refuseLast", refuseLast)
        ->Arg(100000)
        ->Unit(benchmark::kMillisecond);
}
