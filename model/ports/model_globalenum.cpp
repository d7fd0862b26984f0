#include "model_globalenum.h"

#include <QtCore/QGlobalStatic>

#include <array>
#include <iterator>
#include <string_view>

namespace {

struct PortNames
{
    int code;
    std::string_view output;
    std::string_view input;
};

// Every code with a name in at least one direction, in ascending order; "" where the code has no
// name in that direction. Like names under different codes are deliberate: each code is its own
// port type, whatever it is called. Codes 58 and 63 to 241 have no name in either direction.
// clang-format off
constexpr PortNames s_portNames[] = {
    // code  output          input
    {  0,  "EMPTY",         "EMPTY"        },
    {  1,  "DVI",           "DVI"          },
    {  2,  "DVI",           "HDMI"         },
    {  3,  "HDMI",          "SDI"          },
    {  4,  "HDMI(Layer)",   "DP"           },
    {  5,  "VGA",           "VGA"          },
    {  6,  "SDI",           "YpbPr"        },
    {  7,  "D-SDI",         "CVBS"         },
    {  8,  "H.264",         "SV"           },
    {  9,  "HDBaseT",       "(Double)DVI"  },
    { 10,  "LQ6",           "USB"          },
    { 11,  "12G-SDI",       "HDMI"         },
    { 12,  "HDMI",          "SDI"          },
    { 13,  "DP",            "HDMI"         },
    { 14,  "SDI",           "D-SDI"        },
    { 15,  "DVI(4/1)",      "HDMI"         },
    { 16,  "HDBaseT",       "DVI"          },
    { 17,  "H.264",         "HDMI 1.4"     },
    { 18,  "HDMI 2.0",      "DP 1.2"       },
    { 19,  "PVW",           "H.264"        },
    { 20,  "Tavrix",        ""             },
    { 21,  "HDMI 2.0",      "DUAL DVI"     },
    { 22,  "12G-SDI",       "HDMI 1.4"     },
    { 23,  "DP1.2",         "DP 1.2"       },
    { 24,  "FIBER",         "HDMI 2.0"     },
    { 25,  "DVI",           "12G-SDI"      },
    { 26,  "SDI",           "HDMI_X"       },
    { 27,  "DVI",           "DP"           },
    { 28,  "HDMI",          "SDI_X"        },
    { 29,  "HDMI 2.0",      "DVI"          },
    { 30,  "FIBER",         "DVI(4/1)"     },
    { 31,  "Tavrix",        "(Double)USB"  },
    { 32,  "DVI",           "HDBaseT"      },
    { 33,  "HDMI",          "D-HDMI"       },
    { 34,  "SDI",           "HDMI 2.0"     },
    { 35,  "HDMI 2.0",      "DP1.2"        },
    { 36,  "PVW",           "CVBS"         },
    { 37,  "HDBaseT",       "VGA"          },
    { 38,  "",              "HDMI(LOOP)"   },
    { 39,  "",              "HDMI(X86)"    },
    { 40,  "",              "FIBER"        },
    { 41,  "",              "Type-C"       },
    { 42,  "",              "HDMI(BP)"     },
    { 43,  "",              "DVI(BP)"      },
    { 44,  "",              "HDMI 2.0"     },
    { 45,  "",              "HDMI"         },
    { 46,  "",              "VGA"          },
    { 47,  "",              "DVI"          },
    { 48,  "",              "SDI"          },
    { 49,  "",              "BNC"          },
    { 50,  "",              "H265"         },
    { 51,  "",              "HDMI_4K"      },
    { 52,  "",              "HDMI2.0 HDR"  },
    { 53,  "",              "HDMI 2.0"     },
    { 54,  "",              "D-DVI"        },
    { 55,  "",              "DVI"          },
    { 56,  "",              "12G-SDI"      },
    { 57,  "",              "HDMI"         },
    { 59,  "",              "SDI"          },
    { 60,  "",              "HDMI 2.0"     },
    { 61,  "",              "DP 1.2"       },
    { 62,  "",              "HDMI 2.1"     },
    {242,  "",              "DP 1.1"       },
    {243,  "",              "CVBS"         },
    {244,  "DP 1.2",        "3G-SDI"       },
    {245,  "PVW",           "AUDIO-OUT"    },
    {246,  "DVI-PVW",       "DVI"          },
    {247,  "AUDIO-OUT",     "DVI-M"        },
    {248,  "DVI",           "HDMI"         },
    {249,  "DVI-BK",        "HDMI-AUDIO"   },
    {250,  "HDMI",          "HDMI 1.4"     },
    {251,  "HDMI-BK",       "HDMI 2.0"     },
    {252,  "HDMI 1.4",      "DP 1.2"       },
    {253,  "HDMI 2.0",      "3G-SDI"       },
    {254,  "3G-SDI",        "HDBaseT"      },
    {255,  "HDBaseT",       "H.264"        },
};
// clang-format on

constexpr int CodeCount = 256;
constexpr quint8 NoRow = 0xFF;

// Row of each code 0 to 255 in s_portNames, or NoRow; built at compile time so that a lookup is
// one index, without a search.
constexpr std::array<quint8, CodeCount> buildRowIndex()
{
    std::array<quint8, CodeCount> index{};
    for (auto &row : index)
        row = NoRow;
    for (std::size_t i = 0; i < std::size(s_portNames); ++i)
        index[std::size_t(s_portNames[i].code)] = quint8(i);
    return index;
}

constexpr bool rowsAreValid()
{
    for (std::size_t i = 0; i < std::size(s_portNames); ++i) {
        const int code = s_portNames[i].code;
        if (code < 0 || code >= CodeCount || (i > 0 && code <= s_portNames[i - 1].code))
            return false;
    }
    return std::size(s_portNames) < NoRow;
}

static_assert(rowsAreValid(), "port codes must be unique, ascending and within 0 to 255");

constexpr std::array<quint8, CodeCount> s_rowOfCode = buildRowIndex();

enum Direction { Output, Input };

std::string_view nameOf(unsigned code, Direction direction)
{
    const quint8 row = code < unsigned(CodeCount) ? s_rowOfCode[code] : NoRow;
    if (row == NoRow)
        return std::string_view();
    return direction == Output ? s_portNames[row].output : s_portNames[row].input;
}

// Empty, not null: a code without a name is still a port type, one with an empty name.
QString toText(std::string_view name)
{
    if (name.empty())
        return QStringLiteral("");
    return QString::fromLatin1(name.data(), int(name.size()));
}

// Every name converted once, on the first lookup: a lookup then hands out a shared copy and
// allocates nothing.
struct PortNameTexts
{
    PortNameTexts()
    {
        for (unsigned code = 0; code < unsigned(CodeCount); ++code) {
            texts[Output][code] = toText(nameOf(code, Output));
            texts[Input][code] = toText(nameOf(code, Input));
        }
    }

    QString texts[2][CodeCount];
};

Q_GLOBAL_STATIC(PortNameTexts, s_portNameTexts)

QString portName(int type, Direction direction)
{
    // Negative codes wrap to large unsigned values and fall out with the codes above 255.
    const auto code = static_cast<unsigned>(type);
    if (code >= unsigned(CodeCount))
        return QStringLiteral("");
    // The converted names are gone only while the program exits; convert the one asked for then.
    if (const PortNameTexts *names = s_portNameTexts())
        return names->texts[direction][code];
    return toText(nameOf(code, direction));
}

} // namespace

model_GlobalEnum::model_GlobalEnum() = default;

model_GlobalEnum::~model_GlobalEnum() = default;

QString model_GlobalEnum::getOutputPortNameByType(int type)
{
    return portName(type, Output);
}

QString model_GlobalEnum::getInputPortNameByType(int type)
{
    return portName(type, Input);
}
