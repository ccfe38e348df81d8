#include "library/usersettings.h"

#include "library/programpaths.h"

#include <QSettings>

WindowMemory WindowMemory::load()
{
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    WindowMemory memory;
    memory.volume = qBound(0, settings.value(QStringLiteral("player/volume"), memory.volume).toInt(), 100);
    memory.geometry = settings.value(QStringLiteral("window/geometry")).toRect();
    memory.maximized = settings.value(QStringLiteral("window/maximized")).toBool();
    memory.listPage = qMax(0, settings.value(QStringLiteral("window/listPage")).toInt());
    memory.importFolder = settings.value(QStringLiteral("import/folder")).toString();
    return memory;
}

void WindowMemory::save() const
{
    QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("player/volume"), volume);
    settings.setValue(QStringLiteral("window/geometry"), geometry);
    settings.setValue(QStringLiteral("window/maximized"), maximized);
    settings.setValue(QStringLiteral("window/listPage"), listPage);
    settings.setValue(QStringLiteral("import/folder"), importFolder);
}
