#include "stressprobeplugin.h"

#include "stressprobeserver.h"

QObject *StressProbePlugin::create(const QString &name, const QString &)
{
    if (name.compare(QLatin1String("velmorastressprobe"), Qt::CaseInsensitive) != 0)
        return nullptr;
    // Owned by the application, which deletes its generic plug-ins' objects.
    return new StressProbeServer(qEnvironmentVariable("VELMORA_STRESS_SOCKET"));
}
