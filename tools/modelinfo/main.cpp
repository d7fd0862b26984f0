#include <model/processor/modelcalyth.h>

#include <QtCore/QTextStream>

int main()
{
    ModelCalyth model;
    QTextStream(stdout) << model.getMaxOutputCount() << '\n';
    return 0;
}
