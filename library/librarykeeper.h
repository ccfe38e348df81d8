#ifndef LIBRARYKEEPER_H
#define LIBRARYKEEPER_H

#include "library/recordinglibrary.h"

#include <QHash>
#include <QObject>

class UVideoAndGpsfiles;

// Keeps the catalogue and the library in step: fills the catalogue from the
// library at start, adds what an import finds (once), and forgets what the user
// deletes. Without a library it only adds to the catalogue.
class LibraryKeeper : public QObject
{
    Q_OBJECT

public:
    explicit LibraryKeeper(UVideoAndGpsfiles *catalogue, QObject *parent = nullptr);

    // Remembers through `library` from now on; fills the catalogue with what it holds.
    void restoreFrom(RecordingLibrary *library);

    // A video an import looked at (slow work, any thread): the recording with
    // its canonical path and the stamps of its files; nothing when it is not
    // a readable video file.
    static std::optional<StoredRecording> describe(const QString &videoPath);

    // Added when new; a recording already listed (same file, or the same name,
    // size and time on a card mounted elsewhere) is updated instead when its
    // files changed or moved, and left alone otherwise.
    void addImported(const StoredRecording &recording);
    // A batch of an import, stored as one transaction.
    void addImported(const QList<StoredRecording> &recordings);

private:
    void forget(int index);
    int indexOfPath(const QString &videoPath) const;
    int indexOfMoved(const StoredRecording &recording) const;
    void replace(int index, const StoredRecording &recording);
    void append(const StoredRecording &recording);

    UVideoAndGpsfiles *catalogue;
    RecordingLibrary *library = nullptr;
    // Entry i of the catalogue, with the stamps it was rated with.
    QList<StoredRecording> known;
    QHash<QString, int> pathCount;
};

#endif // LIBRARYKEEPER_H
