// The map page. The player drives it only through the six global calls at the
// end, several times a second and without reading results, so every call is
// cheap, ignores bad coordinates and never throws.
(function (global) {
    'use strict';

    var ACCENT = '#4c9dff';
    var TILE_TIMEOUT_MS = 3500;
    var FIT_PADDING = [30, 30];
    var FOLLOW_ZOOM = 16;
    var LOCATION_ZOOM = 13;
    var USER_PAUSE_MS = 8000;
    var INSTANT = { animate: false };

    // The player names its tile server before the page's scripts run; opened
    // anywhere else, the page shows no tiles.
    var tiles = global.velmoraTiles || null;

    var map = null;
    var tileLayer = null;
    var tilesSettled = false;
    var startMarker = null;
    var routeCasing = null;
    var routeLine = null;
    var routeRenderer = null;
    var carMarker = null;
    var carElement = null;
    var moving = false;
    var followPausedUntil = 0;
    var heading = null;

    // Speeds in km/h from which the route takes each colour, slowest first.
    var SPEED_BANDS = [
        { from: 0, color: '#5ad1e6' },
        { from: 20, color: '#3dc97d' },
        { from: 50, color: '#e5d04b' },
        { from: 80, color: '#f08c3a' },
        { from: 110, color: '#e5484d' }
    ];

    // The legend names the bands in the user's unit (the player's speedUnit
    // setting); the route's colours change at the same speeds in any unit.
    var legendUnit = { label: null, perKmh: 1 };

    var start = null;
    var nodes = [];
    // Per node: its speed (km/h, or null) and the player's second it marks.
    var speeds = [];
    var seconds = [];
    var events = [];
    var eventMarkers = [];
    var speedLines = [];
    var legend = null;
    var routeShown = false;
    var car = null;
    var requestedCentre = null;

    // Latitude first. Non-finite, out-of-range and exactly (0,0) mean "no fix".
    function toLatLng(lat, lon) {
        if ((typeof lat !== 'number' && typeof lat !== 'string')
            || (typeof lon !== 'number' && typeof lon !== 'string'))
            return null;
        lat = Number(lat);
        lon = Number(lon);
        if (!isFinite(lat) || !isFinite(lon) || (lat === 0 && lon === 0)
            || Math.abs(lat) > 90 || Math.abs(lon) > 180)
            return null;
        return [lat, lon];
    }

    function sameLatLng(a, b) {
        return a && b && a[0] === b[0] && a[1] === b[1];
    }

    function nothingShown() {
        return !start && !routeShown && !car;
    }

    // Whether the page has its map is told by its own tiles: those of the
    // route's area (or of the world, without a route) are part of the page's
    // load, and #isonline is checked once one of them has been shown, from
    // the network, the cache or the offline file. A silent network would hold
    // the load for the player's whole fallback delay, so the tiles give up
    // early and come back once the page has loaded.
    function tileUrl(template, coords) {
        return template.replace('{s}', 'abc'.charAt(Math.abs(coords.x + coords.y) % 3))
            .replace('{z}', coords.z).replace('{x}', coords.x).replace('{y}', coords.y);
    }

    // Tiles the offline file lacks come from the server, when there is one.
    var OfflineFirst = global.L ? L.TileLayer.extend({
        createTile: function (coords, done) {
            var tile = L.TileLayer.prototype.createTile.call(this, coords, done);
            tile.velmoraCoords = coords;
            return tile;
        },
        _tileOnError: function (done, tile, error) {
            if (tiles.url && !tile.velmoraFromServer) {
                tile.velmoraFromServer = true;
                tile.src = tileUrl(tiles.url, tile.velmoraCoords);
                return;
            }
            L.TileLayer.prototype._tileOnError.call(this, done, tile, error);
        }
    }) : null;

    function addTiles() {
        var box = document.getElementById('isonline');
        if (box)
            box.checked = false;
        if (!map || !tiles || (!tiles.url && !tiles.offline))
            return;
        var options = { maxZoom: 19, subdomains: 'abc' };
        tileLayer = tiles.offline ? new OfflineFirst(tiles.offline, options) : L.tileLayer(tiles.url, options);
        var shown = 0;
        var timer = 0;
        function settle() {
            global.clearTimeout(timer);
            if (box && !tilesSettled)
                box.checked = shown > 0;
            tilesSettled = true;
        }
        tileLayer.on('tileload', function () { shown++; });
        tileLayer.on('load', settle);
        timer = global.setTimeout(function () {
            settle();
            if (document.readyState === 'complete')
                return;
            // Removed tiles stop loading, which releases the page's load.
            map.removeLayer(tileLayer);
            global.addEventListener('load', function () { tileLayer.addTo(map); });
        }, TILE_TIMEOUT_MS);
        tileLayer.addTo(map);
    }

    // A disc until the car has moved, then a drop whose point shows the heading.
    function carIconHtml() {
        return '<div class="halo"></div>'
            + '<svg viewBox="0 0 32 32">'
            + '<circle class="disc" cx="16" cy="16" r="9" fill="' + ACCENT + '" stroke="#ffffff" stroke-width="2"/>'
            + '<path class="drop" d="M16 2 C 19 6.5, 25 10, 25 16 A 9 9 0 0 1 7 16 C 7 10, 13 6.5, 16 2 Z"'
            + ' fill="' + ACCENT + '" stroke="#ffffff" stroke-width="2" stroke-linejoin="round"/>'
            + '<circle cx="16" cy="16" r="3.2" fill="#ffffff"/>'
            + '</svg>';
    }

    function createMap() {
        if (map || !global.L || !document.getElementById('map'))
            return;
        map = L.map('map', {
            center: [30, 10],
            zoom: 2,
            minZoom: 2,
            maxZoom: 19,
            worldCopyJump: true,
            zoomControl: true
        });
        // Links would navigate the embedded view away from the map.
        map.attributionControl.setPrefix(false);
        if (tiles)
            map.attributionControl.addAttribution(tiles.attribution);

        // One canvas for the route and its coloured pieces: a ten-hour drive
        // is thousands of pieces, drawn over the casing.
        routeRenderer = L.canvas({ tolerance: 6 });
        routeCasing = L.polyline([], {
            color: '#0a1626', weight: 8, opacity: 0.55, renderer: routeRenderer,
            lineCap: 'round', lineJoin: 'round', interactive: false
        });
        routeLine = L.polyline([], {
            color: ACCENT, weight: 4, opacity: 0.95,
            lineCap: 'round', lineJoin: 'round', interactive: false
        });
        // While the view moves the car starts no pan of its own, but catches
        // up once it stops; a user looking around is left alone for a while.
        map.on('movestart', function () { moving = true; });
        map.on('moveend', function () { moving = false; followCar(); });
        function pauseFollowing() { followPausedUntil = Date.now() + USER_PAUSE_MS; }
        map.on('dragstart', pauseFollowing);
        map.getContainer().addEventListener('wheel', pauseFollowing, { passive: true });

        // The player names the route's area before the page's scripts run,
        // so that the tiles the page loads are the ones it will show.
        var area = global.velmoraRouteBounds;
        if (Array.isArray(area) && area.length === 4 && toLatLng(area[0], area[1]) && toLatLng(area[2], area[3]))
            map.fitBounds([[area[0], area[1]], [area[2], area[3]]],
                          { padding: FIT_PADDING, maxZoom: 17, animate: false });
        if (requestedCentre)
            map.setView(requestedCentre, LOCATION_ZOOM, INSTANT);
        if (start)
            placeStart(true);
        if (routeShown)
            drawRoute();
        if (car)
            placeCar(true);
    }

    function placeStart(created) {
        if (!startMarker) {
            startMarker = L.circleMarker(start, {
                radius: 6, color: '#ffffff', weight: 2.5, fillColor: '#3dc97d',
                fillOpacity: 1, interactive: false, className: 'start-marker'
            }).addTo(map);
            created = true;
        } else {
            startMarker.setLatLng(start);
        }
        if (created && !routeShown && !car)
            map.setView(start, FOLLOW_ZOOM, INSTANT);
    }

    // The player's translation of a text the page makes itself.
    function pageText(key, fallback) {
        return (global.velmoraTexts && global.velmoraTexts[key]) || fallback;
    }

    function bandOf(speed) {
        if (typeof speed !== 'number' || !isFinite(speed))
            return -1;
        var band = 0;
        while (band + 1 < SPEED_BANDS.length && speed >= SPEED_BANDS[band + 1].from)
            band++;
        return band;
    }

    // The route in pieces of one speed band each; a route without speeds is
    // one line of the accent colour.
    function drawSpeedLines() {
        speedLines.forEach(function (line) { line.remove(); });
        speedLines = [];
        var from = 0;
        for (var i = 1; i <= nodes.length; i++) {
            if (i < nodes.length && bandOf(speeds[i]) === bandOf(speeds[from]))
                continue;
            var band = bandOf(speeds[from]);
            if (band >= 0) {
                // Each piece reaches the next one's first node, leaving no gap.
                var piece = nodes.slice(from, Math.min(i + 1, nodes.length));
                var line = L.polyline(piece, {
                    color: SPEED_BANDS[band].color, weight: 4, opacity: 0.95,
                    lineCap: 'round', lineJoin: 'round', renderer: routeRenderer,
                    interactive: true, bubblingMouseEvents: false
                });
                line.on('click', seekToClick);
                speedLines.push(line.addTo(map));
            }
            from = i;
        }
        // The one-colour line only where there are no pieces: a hidden one
        // would still cost the page its every node.
        if (speedLines.length > 0)
            routeLine.remove();
        else if (!map.hasLayer(routeLine))
            routeLine.addTo(map);
        showLegend(speedLines.length > 0);
    }

    function showLegend(shown) {
        if (!shown) {
            if (legend)
                legend.remove();
            legend = null;
            return;
        }
        if (legend)
            return;
        legend = L.control({ position: 'bottomleft' });
        legend.onAdd = function () {
            var box = L.DomUtil.create('div', 'speed-legend');
            SPEED_BANDS.forEach(function (band, i) {
                var next = SPEED_BANDS[i + 1];
                var row = L.DomUtil.create('div', 'row', box);
                var swatch = L.DomUtil.create('span', 'swatch', row);
                swatch.style.background = band.color;
                var from = Math.round(band.from * legendUnit.perKmh);
                row.appendChild(document.createTextNode(
                    next ? from + '\u2013' + Math.round(next.from * legendUnit.perKmh) : from + '+'));
            });
            L.DomUtil.create('div', 'unit', box).textContent =
                legendUnit.label || pageText('map.speed-unit', 'km/h');
            if (events.length > 0) {
                var eventRow = L.DomUtil.create('div', 'row', box);
                L.DomUtil.create('span', 'event-swatch', eventRow);
                eventRow.appendChild(document.createTextNode(pageText('map.hard-event', 'hard event')));
            }
            return box;
        };
        legend.addTo(map);
    }

    // The node nearest to a click on the route, as the player's second.
    function seekToClick(event) {
        var best = -1;
        var bestDistance = Infinity;
        for (var i = 0; i < nodes.length; i++) {
            var d = map.distance(event.latlng, nodes[i]);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        if (best >= 0 && typeof seconds[best] === 'number')
            global.location.assign('velmora:seek/' + seconds[best]);
    }

    function drawEvents() {
        eventMarkers.forEach(function (marker) { marker.remove(); });
        eventMarkers = events.map(function (where) {
            return L.circleMarker(where, {
                radius: 7, color: '#ffffff', weight: 2, fillColor: '#e5484d',
                fillOpacity: 1, interactive: false, className: 'event-marker'
            }).addTo(map);
        });
    }

    function drawRoute() {
        routeCasing.setLatLngs(nodes);
        routeLine.setLatLngs(nodes);
        if (!map.hasLayer(routeCasing))
            routeCasing.addTo(map);
        drawSpeedLines();
        drawEvents();
        if (startMarker)
            startMarker.bringToFront();
        var bounds = routeLine.getBounds();
        if (start)
            bounds.extend(start);
        if (bounds.isValid())
            map.fitBounds(bounds, { padding: FIT_PADDING, maxZoom: 17, animate: false });
    }

    function hideRoute() {
        routeCasing.setLatLngs([]);
        routeLine.setLatLngs([]);
        routeCasing.remove();
        routeLine.remove();
        speedLines.forEach(function (line) { line.remove(); });
        speedLines = [];
        eventMarkers.forEach(function (marker) { marker.remove(); });
        eventMarkers = [];
        showLegend(false);
    }

    // Heading from the last position, ignoring jitter below a few metres.
    function updateHeading(from, to) {
        if (!carElement || !from)
            return;
        var dy = to[0] - from[0];
        var dx = (to[1] - from[1]) * Math.cos(to[0] * Math.PI / 180);
        if (Math.abs(dx) + Math.abs(dy) < 0.00003)
            return;
        heading = (Math.atan2(dx, dy) * 180 / Math.PI + 360) % 360;
        carElement.classList.add('has-heading');
        carElement.querySelector('svg').style.transform = 'rotate(' + heading.toFixed(1) + 'deg)';
    }

    function placeCar(created) {
        if (!carMarker) {
            carMarker = L.marker(car, {
                icon: L.divIcon({ className: 'car-marker', html: carIconHtml(),
                                  iconSize: [40, 40], iconAnchor: [20, 20] }),
                interactive: false, keyboard: false, zIndexOffset: 1000
            }).addTo(map);
            carElement = carMarker.getElement();
            created = true;
        } else {
            carMarker.setLatLng(car);
        }
        if (created && !routeShown && !start)
            map.setView(car, FOLLOW_ZOOM, INSTANT);
        else
            followCar();
    }

    // Follow calmly: pan only once the car leaves the inner part of the view.
    function followCar() {
        if (!carMarker || moving || Date.now() < followPausedUntil)
            return;
        if (!map.getBounds().pad(-0.2).contains(car))
            map.panTo(car, { animate: true, duration: 0.5 });
    }

    global.SetLocation = function (lat, lon) {
        var where = toLatLng(lat, lon);
        if (!where || !nothingShown())
            return;
        requestedCentre = where;
        if (map)
            map.setView(where, LOCATION_ZOOM, INSTANT);
    };

    global.setstart = function (lat, lon) {
        var where = toLatLng(lat, lon);
        if (!where || sameLatLng(where, start))
            return;
        start = where;
        if (map)
            placeStart(false);
    };

    global.clearPath = function () {
        nodes = [];
        speeds = [];
        seconds = [];
        events = [];
        routeShown = false;
        if (map)
            hideRoute();
    };

    // Speed (km/h) and second are optional: without them the route is
    // drawn in one colour and a click on it does nothing.
    global.appendPathNode = function (lat, lon, speed, second) {
        var where = toLatLng(lat, lon);
        if (!where)
            return;
        nodes.push(where);
        speeds.push(typeof speed === 'number' && isFinite(speed) && speed >= 0 ? speed : null);
        seconds.push(typeof second === 'number' && isFinite(second) && second >= 0
                     ? Math.floor(second) : null);
    };

    // A hard braking, swerve or bump, marked on the route once it is shown.
    global.addHardEvent = function (lat, lon) {
        var where = toLatLng(lat, lon);
        if (where)
            events.push(where);
    };

    global.showPath = function () {
        if (nodes.length === 0)
            return;
        routeShown = true;
        if (map)
            drawRoute();
    };

    // `label` is the unit's name, `perKmh` how many of it make one km/h.
    global.setSpeedUnit = function (label, perKmh) {
        if (typeof label !== 'string' || typeof perKmh !== 'number' || !(perKmh > 0) || !isFinite(perKmh))
            return;
        legendUnit = { label: label, perKmh: perKmh };
        if (legend && map) {
            legend.remove();
            legend = null;
            showLegend(speedLines.length > 0);
        }
    };

    global.setposition = function (lat, lon) {
        var where = toLatLng(lat, lon);
        if (!where)
            return;
        var previous = car;
        car = where;
        if (!map)
            return;
        placeCar(false);
        updateHeading(previous, where);
    };

    // Read-only view of what is drawn, for tests and debugging.
    global.velmoraMapState = function () {
        // Counted by kind, so a duplicate layer shows up however it was made.
        var counts = { circles: 0, lines: 0, markers: 0, tiles: 0,
                       speedLines: speedLines.length, events: eventMarkers.length };
        if (map) {
            map.eachLayer(function (layer) {
                if (layer instanceof L.CircleMarker) counts.circles++;
                else if (layer instanceof L.Polyline) counts.lines++;
                else if (layer instanceof L.Marker) counts.markers++;
                else if (layer instanceof L.TileLayer) counts.tiles++;
            });
        }
        function plain(latlng) { return latlng ? [latlng.lat, latlng.lng] : null; }
        return {
            ready: !!map,
            layers: counts,
            route: routeShown && map ? routeLine.getLatLngs().map(plain) : [],
            start: startMarker ? plain(startMarker.getLatLng()) : null,
            car: carMarker ? plain(carMarker.getLatLng()) : null,
            heading: heading,
            routeInView: !!(routeShown && map && map.getBounds().contains(routeLine.getBounds())),
            carVisible: !!(carMarker && map.getBounds().contains(carMarker.getLatLng())),
            center: map ? plain(map.getCenter()) : null,
            zoom: map ? map.getZoom() : null
        };
    };

    createMap();
    addTiles();
    (global.velmoraEarlyCalls || []).splice(0).forEach(function (early) {
        global[early[0]].apply(global, early[1]);
    });
})(window);
