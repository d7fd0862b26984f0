#ifndef TESTS_SETTINGSREFERENCE_H
#define TESTS_SETTINGSREFERENCE_H

// The topology file as the settings store itself writes and reads it: sections by module number,
// text in UTF-8. The store's own writer and reader are compared with this (tests, fuzz target)
// and timed against it (benchmarks). The settings store keeps what it parsed of a path for the
// life of the process, so every call needs a path of its own.

#include <QtCore/QJsonArray>
#include <QtCore/QJsonObject>
#include <QtCore/QSettings>

namespace SettingsReference {

inline void useUtf8(QSettings &settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec("UTF-8");
#else
    Q_UNUSED(settings)
#endif
}

inline void write(const QString &path, const QJsonArray &modules)
{
    QSettings settings(path, QSettings::IniFormat);
    useUtf8(settings);
    for (int i = 0; i < modules.size(); ++i) {
        settings.beginGroup(QString::number(i));
        const QJsonObject module = modules.at(i).toObject();
        for (auto it = module.constBegin(); it != module.constEnd(); ++it)
            settings.setValue(it.key(), it.value().toVariant());
        settings.endGroup();
    }
}

inline QJsonArray read(const QString &path)
{
    QSettings settings(path, QSettings::IniFormat);
    useUtf8(settings);
    QJsonArray modules;
    const int count = settings.childGroups().size();
    for (int i = 0; i < count; ++i) {
        settings.beginGroup(QString::number(i));
        QJsonObject module;
        for (const QString &key : settings.allKeys())
            module.insert(key, settings.value(key, QVariant()).toString());
        settings.endGroup();
        modules.append(module);
    }
    return modules;
}

} // namespace SettingsReference

#endif
