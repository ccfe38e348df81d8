#ifndef STRESSPROBEPLUGIN_H
#define STRESSPROBEPLUGIN_H

#include <QGenericPlugin>

// Brings the stress probe into the unmodified program: started with
// QT_PLUGIN_PATH naming the folder above generic/ and
// QT_QPA_GENERIC_PLUGINS=velmorastressprobe, the program answers on the local
// socket named by VELMORA_STRESS_SOCKET.
class StressProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "velmorastressprobe.json")

public:
    QObject *create(const QString &name, const QString &parameters) override;
};

#endif // STRESSPROBEPLUGIN_H
