#ifndef OFFLINETILES_H
#define OFFLINETILES_H

#include <QString>
#include <QWebEngineUrlSchemeHandler>

#include <memory>
#include <optional>

class QSqlQuery;
class QWebEngineProfile;

// The area a tile file covers, in degrees.
struct TileBounds
{
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// Map tiles from a raster MBTiles file, for a map without a network. A map
// page asks for them with urlTemplate() once they are installed on its web
// profile; a tile that is not in the file, or is no picture, fails its request.
class OfflineTiles : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    explicit OfflineTiles(QObject *parent = nullptr);
    ~OfflineTiles() override;

    // Opens the file read-only; on failure problem() tells the user why.
    bool open(const QString &path);
    QString problem() const { return openProblem; }
    // What keeps a file from being used, before anything is installed.
    static std::optional<QString> problemWith(const QString &path);

    // The zoom levels the file holds tiles for, as its metadata or else its
    // tiles tell; -1 when neither does.
    int minZoom() const { return lowestZoom; }
    int maxZoom() const { return highestZoom; }
    // As the file's metadata gives them, if it does.
    std::optional<TileBounds> bounds() const { return area; }
    // Whose tiles they are, as the file's metadata says; empty when it does not.
    QString attribution() const { return fileAttribution; }

    // Makes the pages of the profile ask this file for their tiles, in place
    // of any offline tiles installed before.
    void install(QWebEngineProfile *profile);

    static QByteArray scheme();
    // velmora-tiles:/{z}/{x}/{y}, for the map page's tile layer as it is:
    // rows counted from the north, as Leaflet does.
    static QString urlTemplate();

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    // The problem, or nothing once the file is ready for tiles.
    QString openFile(const QString &path);
    void close();
    void readMetadata();
    QByteArray tileData(int zoom, int column, int row);

    QString connection;
    std::unique_ptr<QSqlQuery> tileQuery;
    QString openProblem;
    int lowestZoom = -1;
    int highestZoom = -1;
    std::optional<TileBounds> area;
    QString fileAttribution;
};

#endif // OFFLINETILES_H
