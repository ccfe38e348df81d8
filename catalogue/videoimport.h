#ifndef VIDEOIMPORT_H
#define VIDEOIMPORT_H

#include <QStringList>

// The videos named on the command line as the open dialog would give them:
// absolute and clean, so that the GPS log pairing sees the whole path.
QStringList videoPathsFromArguments(const QStringList &arguments);

#endif // VIDEOIMPORT_H
