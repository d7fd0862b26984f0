#include "measure.h"

#include <model/scene/modelscene.h>
#include <model/state/modelstateitemmodel.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>

#include <memory>

// The item model over the largest document there is, the scene of 0x250301 (16 banks of 768
// layers, 12 MB of text), measured against what the document itself costs: its parse from text.

namespace {

struct Scene
{
    QByteArray text;
    QJsonObject document;
    QJsonObject edited; // saved apart, one layer value changed, as after a client's edit
};

const Scene &scene()
{
    static const Scene s = [] {
        const auto model = std::make_unique<ModelScene>();
        model->initParam(0x250301);
        Scene built;
        built.document = ModelState::save(*model);
        built.text = QJsonDocument(built.document).toJson();
        (*(*model->m_pBankVec)[3].pLayerVec)[17].areaX = 7;
        built.edited = ModelState::save(*model);
        return built;
    }();
    return s;
}

// What a view asks for first: the top rows with every column.
void showTopRows(const ModelStateItemModel &model)
{
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < ModelStateItemModel::ColumnCount; ++c)
            benchmark::DoNotOptimize(model.index(r, c).data());
    }
}

// Expanding one bank's layers and showing them.
void showLayers(const ModelStateItemModel &model)
{
    const QModelIndex layers = model.indexOfPath(QStringLiteral("m_pBankVec[3].pLayerVec"));
    for (int r = 0; r < model.rowCount(layers); ++r)
        benchmark::DoNotOptimize(model.index(r, ModelStateItemModel::ValueColumn, layers).data());
}

// The parse of the document's text, for its time and its heap: what the model is measured against.
void reportDocument(benchmark::State &state, double nanoseconds)
{
    const Scene &s = scene();
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(QJsonDocument::fromJson(s.text));
    const std::chrono::duration<double, std::nano> parse = std::chrono::steady_clock::now() - start;
    AllocationCount count;
    {
        CountAllocations counter;
        benchmark::DoNotOptimize(QJsonDocument::fromJson(s.text));
        count = counter.result();
    }
    state.counters["text_B"] = double(s.text.size());
    state.counters["fromJson_ns"] = parse.count();
    state.counters["fromJson_heap_B"] = double(count.bytes);
    state.counters["heap_ratio"] = double(state.counters["heap_B"]) / double(count.bytes);
    state.counters["ratio"] = nanoseconds / parse.count();
}

void open(benchmark::State &state)
{
    const QJsonObject &document = scene().document;
    const auto op = [&] {
        ModelStateItemModel model(document);
        showTopRows(model);
    };
    const double nanoseconds = measure::timedLoop(state, op);
    measure::countAllocations(state, op);
    reportDocument(state, nanoseconds);
}

void expand(benchmark::State &state)
{
    const QJsonObject &document = scene().document;
    const auto op = [&] {
        ModelStateItemModel model(document);
        showTopRows(model);
        showLayers(model);
    };
    const double nanoseconds = measure::timedLoop(state, op);
    measure::countAllocations(state, op);
    reportDocument(state, nanoseconds);
}

// setDocument() of the edited document and back, with one bank's layers shown: the cost of
// compare() on two documents that share nothing, plus the one row that changes.
void update(benchmark::State &state)
{
    ModelStateItemModel model(scene().document);
    showTopRows(model);
    showLayers(model);
    bool edited = false;
    const auto op = [&] {
        edited = !edited;
        model.setDocument(edited ? scene().edited : scene().document);
    };
    const double nanoseconds = measure::timedLoop(state, op);
    measure::countAllocations(state, op);
    reportDocument(state, nanoseconds);
}

void edit(benchmark::State &state)
{
    ModelStateItemModel model(scene().document);
    showTopRows(model);
    showLayers(model);
    const QModelIndex areaX
        = model.indexOfPath(QStringLiteral("m_pBankVec[3].pLayerVec[17].areaX"), 1);
    int value = 0;
    const auto op = [&] { model.setData(areaX, QString::number(++value % 2)); };
    const double nanoseconds = measure::timedLoop(state, op);
    measure::countAllocations(state, op);
    reportDocument(state, nanoseconds);
}

void compareWith(benchmark::State &state)
{
    ModelStateItemModel model(scene().document);
    showTopRows(model);
    showLayers(model);
    bool comparing = false;
    const auto op = [&] {
        comparing = !comparing;
        model.setComparisonDocument(comparing ? scene().edited : QJsonObject());
    };
    const double nanoseconds = measure::timedLoop(state, op);
    measure::countAllocations(state, op);
    reportDocument(state, nanoseconds);
}

void findPaths(benchmark::State &state)
{
    const ModelStateItemModel model(scene().document);
    const auto op
        = [&] { benchmark::DoNotOptimize(model.findPaths(QStringLiteral("pLayerVec[17].areaX"))); };
    const double nanoseconds = measure::timedLoop(state, op);
    measure::countAllocations(state, op);
    reportDocument(state, nanoseconds);
}

} // namespace

void registerItemModelBenchmarks()
{
    const struct
    {
        const char *name;
        void (*run)(benchmark::State &);
    } benchmarks[] = {
        {"open", &open},
        {"expand", &expand},
        {"setDocument", &update},
        {"setData", &edit},
        {"setComparisonDocument", &compareWith},
        {"findPaths", &findPaths},
    };
    for (const auto &b : benchmarks)
        benchmark::RegisterBenchmark(
            (std::string("State/ModelStateItemModel/") + b.name + "/0x250301").c_str(), b.run)
            ->Unit(benchmark::kMillisecond);
}
