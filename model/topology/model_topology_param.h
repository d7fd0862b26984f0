#ifndef MODEL_TOPOLOGY_MODEL_TOPOLOGY_PARAM_H
#define MODEL_TOPOLOGY_MODEL_TOPOLOGY_PARAM_H

#include <model/model_export.h>

#include <QtCore/QJsonArray>
#include <QtCore/QString>

/// The client's topology fields, and the store that keeps its list of modules in a topology file.
///
/// Binary layout: the client reads the fields at fixed offsets, so they must keep their order and
/// types. The class has its natural alignment (it is not packed). The library only gives the fields
/// their defaults; what they mean is the client's business. The object owns its strings, and a copy
/// is member-wise and independent of the original.
///
/// The topology file is an INI file in UTF-8 with one section per module, named by the module's
/// index in plain decimal ("0", "1", ... "10"), holding one entry per member of the module's JSON
/// object, in key order. Nothing else is stored: no count, no header, no version.
///
/// What a write followed by a read gives back:
/// - Every value comes back as a string: 5 as "5", 0.5 as "0.5", 1e20 as "1e+20", true as "true".
///   Null, arrays and objects come back as "".
/// - A module that is not an object, or has no members, writes no section. The reader reads as
///   many sections as the file holds, by number from "0", so [a, {}, b] reads back as [a, {}].
/// - Slashes in a key separate sub-keys in the settings store: leading, trailing and doubled
///   slashes collapse ("/a" and "a/" come back as "a", "a//b" as "a/b"; of keys that collapse onto
///   the same name the later one in key order wins). A key made only of slashes names the
///   section's nameless entry, a line with nothing before its '=', which reads back as the key ""
///   with the value "". The empty key itself is not stored: the settings store refuses it.
/// - A member value that nests arrays and objects more than 32 levels deep is stored as an empty
///   text, which is what every array and object reads back as anyway.
/// - Values lose their characters outside the Basic Multilingual Plane (emoji and the like) and
///   any lone surrogate: the settings store encodes a value one UTF-16 unit at a time, and half a
///   pair is no UTF-8 character. Keys keep them.
/// - Keys that differ only in letter case collide where the settings store ignores case (Windows).
///
/// Everything else comes back as written, in keys and values alike: "=", ";", ",", "#", brackets,
/// quotes, backslashes, control characters and line breaks, leading and trailing blanks, a leading
/// "@", and non-ASCII text.
///
/// The file on the disk:
/// - The file's text is built and parsed in memory, by the library itself, exactly as the settings
///   store (QSettings, INI format, UTF-8) of the same Qt flavour writes and reads it. No temporary
///   folder, no copy, no cache: a read returns what the file holds at that moment.
/// - A write replaces the file in one step: the new text goes to a scratch file beside it
///   ("topology.ini.Ab3xZ9~"), is flushed to the disk and renamed over the file, so a reader sees
///   the old file or the new one, and a write that fails or dies leaves the old file. Writers of
///   one folder take turns under a kernel lock on the folder, which ends with its holder however it
///   ends; the holder removes every scratch file of the file, since only a dead writer leaves one.
/// - A symbolic link is followed by both kinds of write: the file it names is replaced, or, for an
///   array with nothing to store, removed, and the link stays.
/// - A path that names no regular file (a directory, a device, a pipe, or a link to one) is left
///   alone by both kinds of write and reads as an empty array.
/// - A value in the settings store's binary form ("@Variant(...)") reads as its text when its
///   type is plain: a number, a boolean, a character, text, a byte array, a date or time, a URL
///   or a UUID. Any other such value reads as empty text without being decoded, however deeply it
///   nests, and the rest of the file reads as usual.
/// - Nothing is ever written to the message log.
class MODEL_EXPORT model_topology_param
{
public:
    /// Entries of each slot table.
    static constexpr int SlotCount = 256;

    /// Gives every field its default: the value beside it, -1 in every entry of both slot value
    /// tables, and empty strings.
    model_topology_param();
    /// Releases the strings.
    ~model_topology_param();

    /// \name Topology file
    /// The two file operations are ordinary members, called through an object as clients declare
    /// them; any object serves, a freshly constructed one included. They work on their arguments
    /// and the file alone and never touch the object's fields. Neither reports failure.
    ///@{

    /// Replaces the topology file at path with the modules, creating missing directories as the
    /// settings store does. When no module has an entry to store, removes the file instead. The new
    /// file is written completely before it takes the old one's place, so a failed write, or a
    /// process that dies during one, leaves the previous file as it was. An empty path does
    /// nothing.
    void setTPLYModuleData(QString path, QJsonArray modules);

    /// The modules of the topology file at path, every value as a string (see above). An empty path
    /// or a missing file gives an empty array, and nothing is created. A damaged or hand-edited
    /// file gives whatever the settings store makes of it.
    QJsonArray getTPLYModuleData(QString path);
    ///@}

    /// A text of the client's, empty by default.
    QString m_text1;
    /// A value of the client's, 0 by default.
    int m_word1 = 0;
    ///@{
    /// A text of the client's, empty by default.
    QString m_text2;
    QString m_text3;
    ///@}
    /// A value of the client's, 1 by default.
    int m_value1 = 1;
    /// A value of the client's, 0 by default.
    int m_word2 = 0;
    ///@{
    /// A text of the client's, empty by default.
    QString m_text4;
    QString m_text5;
    QString m_text6;
    ///@}
    ///@{
    /// A value of the client's, 0 by default.
    int m_word3 = 0;
    int m_value2 = 0;
    int m_value3 = 0;
    int m_value4 = 0;
    int m_word4 = 0;
    int m_word5 = 0;
    ///@}
    int m_slotValuesA[SlotCount]; ///< Every entry -1.
    int m_slotValuesB[SlotCount]; ///< Every entry -1.
    ///@{
    /// A slot table of texts, every entry empty by default.
    QString m_slotTextsA[SlotCount];
    QString m_slotTextsB[SlotCount];
    ///@}
    /// A text of the client's, empty by default.
    QString m_text7;
};

#endif // MODEL_TOPOLOGY_MODEL_TOPOLOGY_PARAM_H
