// The player sends its map calls to whatever page is shown, at any moment.
// Every page loads this first, so no call ever reaches the console as an
// error: the text pages ignore the calls, and calls that arrive while the map
// page is still loading are kept for the map to replay.
(function (global) {
    'use strict';
    var early = global.velmoraEarlyCalls = [];
    ['SetLocation', 'setstart', 'clearPath', 'appendPathNode', 'showPath', 'setposition', 'setSpeedUnit']
        .forEach(function (name) {
            if (typeof global[name] === 'function')
                return;
            global[name] = function () {
                if (document.readyState === 'loading')
                    early.push([name, Array.prototype.slice.call(arguments)]);
            };
        });
    // The pages hold keys only; the program names the texts in the user's
    // language before this script runs.
    document.addEventListener('DOMContentLoaded', function () {
        var texts = global.velmoraTexts || {};
        document.querySelectorAll('[data-l10n]').forEach(function (element) {
            var text = texts[element.getAttribute('data-l10n')];
            if (typeof text === 'string')
                element.innerHTML = text;
        });
    });
    // A C++ NaN or infinity printed into a call reads "nan" or "inf"; as names
    // they would throw, as values they are simply ignored.
    if (!('nan' in global))
        global.nan = NaN;
    if (!('inf' in global))
        global.inf = Infinity;
})(window);
