#ifndef TESTS_PROCESSORCODES_H
#define TESTS_PROCESSORCODES_H

#include <model/processor/modelcalyth.h>

#include <QtCore/QStringList>

#include <climits>

// The scene and bank player models serve the processor's devices: they know every code the
// processor model knows but the two processor-only variants 0x2C0201 and 0x2C0202, and hold the
// processor's values in their capacities of the same names. Their tests take the codes and values
// from the processor model, whose own test checks them against the product sheets.

// Device codes read 0xFFMMVV: family, model, variant. Every code the processor knows, and the near
// misses of each, lie in the box of families 0x20 to 0xAF, models 0x00 to 0x0F and 0x80 to 0x9F,
// variants 0x00 to 0x1F and 0x60 to 0x6F (a walk over all 2^24 codes takes half a minute). Zero
// and negative codes come last.
inline QVector<int> candidateCodes()
{
    QVector<int> codes;
    for (int family = 0x20; family <= 0xAF; ++family)
        for (int model = 0; model <= 0x9F; model = model == 0x0F ? 0x80 : model + 1)
            for (int variant = 0; variant <= 0x6F; variant = variant == 0x1F ? 0x60 : variant + 1)
                codes.append(family << 16 | model << 8 | variant);
    return codes << 0 << -1 << -0x320000 << INT_MIN;
}

// The capacities that every model of the family has.
const auto s_bankAndOutputCount = [](auto &m) {
    return QList<int>{m.getMaxBankCount(), m.getMaxOutputCount()};
};

// Runs every candidate code through initMaxParams() of a Model and of the processor model and
// returns, in hex, the codes on which capsOf (the same getters, read from either model) disagrees:
// a code the Model must know must give the processor's values, any other code must leave the
// Model's capacities as they were (those of the code before, with bank and output count marked
// -1). Empty when all agree; a box holding other than the 56 codes the Model knows shows as well.
template<typename Model, typename CapsOf = decltype(s_bankAndOutputCount)>
QString capacityMismatches(CapsOf capsOf = s_bankAndOutputCount)
{
    ModelCalyth processor;
    Model model;
    QStringList wrong;
    int known = 0;
    for (int code : candidateCodes()) {
        // A known code overwrites every capacity, an unknown one none: not even the marked ones.
        model.m_maxBankCount = model.m_maxOutputCount = processor.m_maxOutputCount = -1;
        const auto before = capsOf(model);
        model.initMaxParams(code);
        processor.initMaxParams(code);
        const bool knows = processor.m_maxOutputCount != -1 && code != 0x2C0201 && code != 0x2C0202;
        known += knows;
        if (capsOf(model) != (knows ? capsOf(processor) : before))
            wrong << QString::number(code, 16);
    }
    if (known != 56)
        wrong << QStringLiteral("(%1 known codes in the box)").arg(known);
    return wrong.join(QLatin1Char(' '));
}

#endif // TESTS_PROCESSORCODES_H
