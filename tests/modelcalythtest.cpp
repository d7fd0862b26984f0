#include "absurdcapacity.h"

#include <model/processor/modelcalyth.h>

#include <QtTest/QtTest>

#include <climits>

namespace {

// The fourteen per-code capacities in getter order.
QVector<int> capsOf(ModelCalyth &m)
{
    return {
        m.getMaxPreOutputCount(),       m.getMaxPreOutputGroup(),       m.getMaxLinkOutputCount(),
        m.getMaxLinkOutputGroup(),      m.getMaxOutputCount(),          m.getMaxSourceCount(),
        m.getMaxLayerCount(),           m.getMaxInputBoardCount(),      m.getMaxOutPutBoardCount(),
        m.getMaxInputBoardPortCount(),  m.getMaxOutputBoardPortCount(), m.getMaxContainerCount(),
        m.getMaxOneMonitorLayerCount(), m.getMaxPvwBoardCount()};
}

// Zero, the extremes, a negative known code and the next codes after known ones.
const int s_unknownCodes[] = {0, -1, INT_MIN, INT_MAX, -0x320000, 0x250302, 0x2D0002, 0x320005};

} // namespace

class ModelCalythTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every code of the capacity table gets its row, a preview board count left unset keeping what
    // the code before wrote (2 after construction, 1 after 0x900000). The table itself is product
    // data that no rule derives: its fingerprint makes an edit of it a deliberate one, made here
    // too (the failure shows the new fingerprint).
    void knownCodes()
    {
        QByteArray table;
        for (auto row = DeviceCapacities::begin(); row != DeviceCapacities::end(); ++row) {
            for (const int code : row->codes) {
                for (const int previous : {0x320000, 0x900000}) {
                    ModelCalyth model;
                    model.initMaxParams(previous);
                    model.initMaxParams(code);
                    const int pvw = row->pvwBoard != DeviceCapacities::Unset ? row->pvwBoard
                        : previous == 0x900000                               ? 1
                                                                             : 2;
                    // clang-format off
                    const QVector<int> caps{row->preOutput, row->preOutputGroup, row->linkOutput,
                        row->linkOutputGroup, row->output, row->source, row->layer, row->inputBoard,
                        row->outputBoard, row->inputBoardPort, row->outputBoardPort, row->container,
                        row->oneMonitorLayer, pvw};
                    // clang-format on
                    QCOMPARE(capsOf(model), caps);
                    QCOMPARE(model.getMaxBankCount() + model.getMaxBankNameLength(), 32);
                    QCOMPARE(model.getMaxPageCount() + model.getMaxContainerName(), 48);
                    table.append(reinterpret_cast<const char *>(&code), sizeof code);
                    table.append(reinterpret_cast<const char *>(caps.data()),
                                 int(caps.size() * sizeof(int)));
                }
            }
        }
        QCOMPARE(QCryptographicHash::hash(table, QCryptographicHash::Sha1).toHex().left(16),
                 QByteArray("54873b9b42b162e1"));
    }

    void unknownCodes()
    {
        for (int code : s_unknownCodes) {
            ModelCalyth model;
            model.initParam(0x900000);
            const QVector<int> before = capsOf(model);
            model.initMaxParams(code);
            QCOMPARE(capsOf(model), before);
            // Rebuilt to the last known capacities; the code itself is still recorded.
            model.initParam(code);
            QCOMPARE(int(model.m_deviceCode), code);
            QCOMPARE(capsOf(model), before);
            QCOMPARE(model.m_outputRecGList.size(), 145);
        }
    }

    // Whatever the client wrote, initParam() brings back the defaults; only the spare bytes are
    // the client's own and survive. The defaults themselves are the new object's, whose document
    // has its fingerprint in modelstatetest.
    void defaultsAfterClientWrites()
    {
        ModelCalyth model;
        model.m_value9 = 5;
        model.m_intBlock2[7] = 0;
        model.m_intBlock11[0] = model.m_intBlock11[1] = 9;
        model.m_doubleValue = 2.5;
        model.m_textBlock2[4] = model.m_text5 = QStringLiteral("client");
        model.m_spareBytes[0] = 0x5A;
        model.m_spareTextList.append(QStringLiteral("client"));
        (*model.m_pOutputVecF)[0] = 1;
        model.m_sourceWindowList[3].width1 = 640;
        model.m_containerList[0].name[31] = 'x';
        model.m_inputPortList[0].portValues2[0] = 0;
        model.initParam(0x320000);
        QCOMPARE(
            (QVector<int>{model.m_value9, model.m_intBlock2[7], model.m_intBlock11[0],
                          model.m_intBlock11[1], (*model.m_pOutputVecF)[0],
                          model.m_sourceWindowList[3].width1, model.m_containerList[0].name[31],
                          model.m_inputPortList[0].portValues2[0], model.m_spareBytes[0],
                          int(model.m_spareTextList.size() + model.m_textBlock2[4].size()
                              + model.m_text5.size())}),
            (QVector<int>{128, 255, 0, 0, 128, 1920, 0, 10, 0x5A, 0}));
        QCOMPARE(double(model.m_doubleValue), 0.0);
    }

    void clearParamsEmptiesOnlyValueContainers()
    {
        ModelCalyth model;
        model.m_text3 = QStringLiteral("kept");
        model.m_spareRecordVec.append(_Int9_Record{});
        const QVector<_Layer_Record> *layers = model.m_pLayerVec;
        model.clearParams();

        QCOMPARE(model.m_pLayerVec, layers);
        QCOMPARE(model.m_pLayerVec->size() + model.m_pOutputVecA->size(), 16 + 8);
        QCOMPARE(model.m_text3, QStringLiteral("kept"));
        QCOMPARE(model.getMaxOutputCount(), 8);
        QCOMPARE(model.m_inputBoardNameList.size() + model.m_sourceTextList.size()
                     + model.m_sourceRecCList.size() + model.m_outputBoardFlagListC.size()
                     + model.m_outputBoardGroupListB.size() + model.m_inputPortList.size()
                     + model.m_containerList.size() + model.m_outputRecGList.size()
                     + model.m_spareRecordVec.size() + model.m_outputNamePairList.size(),
                 0);
    }

    void zeroAndNegativeCapacities()
    {
        // No device has zero outputs, but a client may write the capacities; an unknown code then
        // builds to whatever they hold. One more G record than outputs still means one record.
        for (int capacity : {0, -5}) {
            ModelCalyth model;
            model.m_maxOutputCount = capacity;
            model.m_maxInputBoardPortCount = capacity;
            model.initParam(0x230103);
            QCOMPARE(model.m_pOutputRecJVec->size() + model.m_outputQuadNameList.size(), 0);
            QCOMPARE(model.m_outputRecGList.size(), capacity == 0 ? 1 : 0);
            QVERIFY(model.m_inputPortList.first().portValues2.isEmpty());
            QVERIFY(model.m_containerList.first().outputValues.isEmpty());
            QCOMPARE(int(model.m_value15), 7680); // set between the output lists all the same
        }
    }

    // The capacities that size the tree.
    void absurdCapacities_data()
    {
        addAbsurdCapacityRows<ModelCalyth>(
            {CAPACITY(ModelCalyth, m_maxOutputCount), CAPACITY(ModelCalyth, m_maxSourceCount),
             CAPACITY(ModelCalyth, m_maxInputBoardCount),
             CAPACITY(ModelCalyth, m_maxOutPutBoardCount),
             CAPACITY(ModelCalyth, m_maxInputBoardPortCount),
             CAPACITY(ModelCalyth, m_maxContainerCount), CAPACITY(ModelCalyth, m_maxLayerCount)});
    }
    void absurdCapacities() { checkAbsurdCapacityRow<ModelCalyth>(); }
};

QTEST_GUILESS_MAIN(ModelCalythTest)
#include "modelcalythtest.moc"
