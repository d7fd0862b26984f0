// The port-type lookups fed arbitrary codes: every answer is a string, never null; a code outside
// 0 to 255 has no name in either direction; a name is printable ASCII.

#include "bytereader.h"

#include <model/ports/model_globalenum.h>

#include <QtCore/QString>

#include <algorithm>

namespace {

bool isPrintableAscii(const QString &name)
{
    return std::all_of(name.cbegin(), name.cend(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ByteReader input(data, size);
    while (!input.atEnd()) {
        const int code = input.integer();
        const QString output = model_GlobalEnum::getOutputPortNameByType(code);
        const QString inputName = model_GlobalEnum::getInputPortNameByType(code);
        FUZZ_CHECK(!output.isNull() && !inputName.isNull());
        FUZZ_CHECK(isPrintableAscii(output) && isPrintableAscii(inputName));
        if (code < 0 || code > 255)
            FUZZ_CHECK(output.isEmpty() && inputName.isEmpty());
    }
    return 0;
}
