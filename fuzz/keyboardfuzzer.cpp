// The keyboard model fed a sequence of operations with arbitrary arguments and arbitrary values
// of gOledLength. No operation may write outside a key, the last byte of every text field stays
// zero (no label is that long), and a dump writes exactly the messages its arguments select.
//
// Input: an int for gOledLength, then up to MaxOperations operations, each an operation byte
// followed by the ints it takes (little-endian; missing bytes read as 0).

#include "bytereader.h"

#include <model/keyboard/model_quorparam.h>

#include <QtCore/QtGlobal>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// Enough to combine every operation; more would only make a slow input slower.
constexpr int MaxOperations = 32;

int s_messages = 0;

void countMessage(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++s_messages;
}

// The messages printAllData(pageCount, keyGroup) writes: the header, 16 keys per page of every
// selected table, then 16 common keys and 5 page keys.
int expectedMessages(int pageCount, int keyGroup)
{
    const int pages = pageCount <= 0 ? 1 : std::min(pageCount, 5);
    const int tables = keyGroup == 0                                                          ? 5
        : (keyGroup == 1 || keyGroup == 2 || keyGroup == 3 || keyGroup == 5 || keyGroup == 6) ? 1
                                                                                              : 0;
    return 1 + pages * 16 * tables + 16 + 5;
}

template<typename Table>
bool lastBytesAreZero(const Table &table)
{
    for (const auto &page : table) {
        for (const _OledKey_Param &key : page) {
            if (key.firstString[std::size(key.firstString) - 1] != 0
                || key.secondString[std::size(key.secondString) - 1] != 0
                || key.thirdString[std::size(key.thirdString) - 1] != 0)
                return false;
        }
    }
    return true;
}

bool lastBytesAreZero(const Model_QuorParam &m)
{
    return lastBytesAreZero(m.m_presetKeys) && lastBytesAreZero(m.m_shortcutKeys)
        && lastBytesAreZero(m.m_layerKeys) && lastBytesAreZero(m.m_outputKeys)
        && lastBytesAreZero(m.m_inputKeys) && lastBytesAreZero(m.m_commonKeys);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(countMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ByteReader input(data, size);
    Model_QuorParam::gOledLength = input.integer();
    const auto model = std::make_unique<Model_QuorParam>();
    FUZZ_CHECK(lastBytesAreZero(*model));

    for (int i = 0; i < MaxOperations && !input.atEnd(); ++i) {
        switch (input.byte() % 8) {
        case 0:
            model->initKeyBoradData();
            break;
        case 1: {
            const int page = input.integer();
            model->resetShortcutOled(page, input.integer());
            break;
        }
        case 2:
            model->initShortcuts(input.byte() & 1);
            break;
        case 3:
            model->initOLEDTest();
            break;
        case 4:
            model->initOLEDIconTest();
            break;
        case 5: {
            const int pageCount = input.integer();
            const int keyGroup = input.integer();
            s_messages = 0;
            model->printAllData(pageCount, keyGroup);
            FUZZ_CHECK(s_messages == expectedMessages(pageCount, keyGroup));
            break;
        }
        case 6:
            Model_QuorParam::gOledLength = input.integer();
            break;
        case 7:
            // A copy carries the same keys and is as safe to work on.
            *model = Model_QuorParam(*model);
            break;
        }
        FUZZ_CHECK(lastBytesAreZero(*model));
    }
    Model_QuorParam::gOledLength = 30;
    return 0;
}
