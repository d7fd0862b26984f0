// The life of a typical client: one model per connected device, filled from the device's replies,
// board ports labelled with their type names, its state kept as a JSON document, and rebuilt when
// the client moves to another device.

#include <model/ports/model_globalenum.h>
#include <model/processor/modelcalyth.h>
#include <model/state/modelstate.h>

#include <QtCore/QJsonDocument>
#include <QtCore/QTextStream>

int main()
{
    QTextStream out(stdout);

    // A new model already holds the tree of the default device.
    ModelCalyth processor;
    out << "default device: " << processor.getMaxOutputCount() << " outputs\n";

    // The device reported its code: build the tree for it.
    processor.initParam(0x250300);
    out << "0x250300: " << processor.getMaxOutputCount() << " outputs, "
        << processor.getMaxLayerCount() << " layers, " << processor.getMaxInputBoardCount()
        << " input boards\n";

    // Fill a few records from the device's replies.
    processor.m_outputNamePairList[0].name1 = QStringLiteral("Main wall");
    processor.m_sourceWindowList[2].width1 = 3840;
    processor.m_sourceWindowList[2].height1 = 2160;
    (*processor.m_pOutputVecF)[0] = 100;

    // Label the ports of the first input board by their type codes (as the device reports them).
    const int portTypes[] = {2, 3, 18, 52};
    for (int port = 0; port < processor.getMaxInputBoardPortCount(); ++port) {
        const int type = portTypes[port % 4];
        processor.m_inputPortList[0].portValues1[port] = type;
        out << "  input board 0, port " << port << ": "
            << model_GlobalEnum::getInputPortNameByType(type) << '\n';
    }
    out << "output type 18 is " << model_GlobalEnum::getOutputPortNameByType(18) << '\n';

    // Keep the set-up as a document (a file, in a real client), then load it into the model of an
    // identical device and see what differs from that device's defaults.
    const QByteArray text = ModelState::toJson(ModelState::save(processor));
    ModelCalyth copy;
    ModelStateError error;
    if (!ModelState::restore(copy, QJsonDocument::fromJson(text).object(), &error)) {
        out << "restore failed: " << error.toString() << '\n';
        return 1;
    }
    out << "restored from " << text.size() << " bytes: output 0 is \""
        << copy.m_outputNamePairList[0].name1 << "\", source 2 is "
        << copy.m_sourceWindowList[2].width1 << " wide\n";
    ModelCalyth defaults;
    defaults.initParam(0x250300);
    for (const ModelStateDifference &d :
         ModelState::compare(ModelState::save(defaults), ModelState::save(copy)))
        out << "  changed: " << d.path << '\n';

    // Pointed at another device: initParam discards the old tree. Owned vectors are new objects,
    // so pointers taken before must be taken again.
    processor.initParam(0x2D0000);
    out << "0x2D0000: " << processor.getMaxOutputCount() << " outputs, "
        << processor.m_inputPortList[0].portValues1.size() << " ports on the input board, name of "
        << "output 0 is now \"" << processor.m_outputNamePairList[0].name1 << "\"\n";
    return 0;
}
