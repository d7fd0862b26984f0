// The companion library's member lists against the headers: every member listed, in declaration
// order. Two independent checks: the names against the declarations the header text holds, and
// the offsets of the listed members against the object's layout.

#include "memberlists.h"

#include <QtTest/QtTest>

#include <memory>

using namespace StateCodec;

namespace {

// Walks the list of C against an object of C: each member must start where the one before ends
// (rounded up to its alignment unless C is packed), the first one after the vtable pointer of a
// polymorphic class, and the last one must end where C does (rounded up to C's alignment). A
// member missing from the list leaves a gap; two members out of order start at the wrong offset.
// Only a missing last member small enough to hide in C's tail padding would escape this.
template<typename C>
QString layoutProblem()
{
    const auto object = std::make_unique<C>();
    const char *base = reinterpret_cast<const char *>(object.get());
    const std::size_t packing = alignof(C) == 1 ? 1 : 0;
    std::size_t end = std::is_polymorphic_v<C> ? sizeof(void *) : 0;
    QString problem;
    const auto walk = [&](const auto &f) {
        using T = typename std::decay_t<decltype(f)>::Type;
        const std::size_t alignment = packing ? packing : alignof(T);
        const std::size_t expected = (end + alignment - 1) / alignment * alignment;
        const auto offset
            = std::size_t(reinterpret_cast<const char *>(&(object.get()->*f.member)) - base);
        // The codecs reach the member by the offset its pointer holds: the same place.
        if (problem.isEmpty() && std::size_t(memberOffset(f.member)) != offset)
            problem = QString(f.name) + QStringLiteral(" is not where its member pointer says");
        if (problem.isEmpty() && offset != expected)
            problem = QString::asprintf("%s is at offset %zu, the list expects it at %zu: a member "
                                        "before it is missing from the list, or out of order",
                                        qUtf8Printable(QString(f.name)), offset, expected);
        end = offset + sizeof(T);
    };
    Members<C>::apply([&](const auto &...f) { (walk(f), ...); });
    const std::size_t size = (end + alignof(C) - 1) / alignof(C) * alignof(C);
    if (problem.isEmpty() && size != sizeof(C))
        problem = QString::asprintf("the list ends at %zu, the class at %zu: a member after the "
                                    "last listed one is missing",
                                    size, sizeof(C));
    return problem;
}

template<typename C>
QStringList listedNames()
{
    QStringList names;
    Members<C>::apply([&](const auto &...f) { (names.append(f.name), ...); });
    return names;
}

// The data members of every struct and exported class of the library's headers, by class name,
// in declaration order, read from the header text: one declaration a line (several names of one
// type may share it), functions, static members and comments skipped.
QHash<QString, QStringList> declaredMembers()
{
    QHash<QString, QStringList> classes;
    const QRegularExpression classBody(
        "(?ms)^(?:struct|class MODEL_EXPORT) (\\w+)\n\\{\n(.*?)^\\};");
    const QRegularExpression initializer("\\s*=[^,]*"), templateArguments("<[^<>]*>");
    QDirIterator headers(MODEL_SOURCE_DIR, {"*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (headers.hasNext()) {
        QFile file(headers.next());
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        for (auto match = classBody.globalMatch(QString::fromUtf8(file.readAll()));
             match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            QStringList &names = classes[m.captured(1)];
            for (QString line : m.captured(2).split(u'\n')) {
                line = line.section("//", 0, 0).trimmed();
                if (!line.endsWith(u';') || line.startsWith("static ") || line.startsWith("using ")
                    || line.contains(u'~') || line.contains("operator"))
                    continue;
                line.chop(1);
                if (line.remove(initializer).contains(u'('))
                    continue;
                // Template arguments may hold blanks and commas: they go, innermost first. Then
                // the type ends at the first blank.
                while (line.contains(templateArguments))
                    line.remove(templateArguments);
                for (QString name : line.section(u' ', 1).split(u','))
                    names << name.remove(u'*').section(u'[', 0, 0).trimmed();
            }
        }
    }
    return classes;
}

} // namespace

class MemberListsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("declared");
        QTest::addColumn<QString>("problem");
        const QHash<QString, QStringList> declared = declaredMembers();
#define ROW(type)                                                                                  \
    QTest::newRow(#type) << listedNames<type>() << declared.value(QStringLiteral(#type))           \
                         << layoutProblem<type>()
        // clang-format off
        ROW(ModelCalyth); ROW(_OutputA_Record); ROW(_OutputB_Record); ROW(_OutputC_Record);
        ROW(_OutputD_Record); ROW(_OutputE_Record); ROW(_OutputF_Record); ROW(_OutputG_Record);
        ROW(_OutputH_Record); ROW(_OutputI_Record); ROW(_OutputJ_Record); ROW(_OutputName_Record);
        ROW(_SourceWindow_Record); ROW(_SourceB_Record); ROW(_SourceC_Record);
        ROW(_InputPort_Record); ROW(_InputBoard_Record); ROW(_Layer_Record); ROW(_Container_Record);
        ROW(_Int9_Record); ROW(_Int12_Record); ROW(ModelScene); ROW(_SceneLayer_Record);
        ROW(_SceneBank_Record); ROW(_SceneOutput_Record); ROW(_SceneContainer_Record);
        ROW(ModelBankPlayer); ROW(_BankPlayerItem_Record); ROW(ModelIC); ROW(_ICGroup_Record);
        ROW(_ICSignalGroup_Record); ROW(_ICPort_Record); ROW(_UserList_Destktop);
        ROW(Model_QuorParam); ROW(_OledKey_Param); ROW(model_topology_param); ROW(model_API_param);
        ROW(model_Protocoldata); ROW(model_OsdParam);
        // clang-format on
#undef ROW
    }
    void layout()
    {
        QFETCH(QStringList, listed);
        QFETCH(QStringList, declared);
        QFETCH(QString, problem);
        QCOMPARE(listed, declared);
        QCOMPARE(problem, QString());
    }
};

QTEST_GUILESS_MAIN(MemberListsTest)
#include "memberliststest.moc"
