// The player sends its map calls to whatever page is shown. The text pages
// accept and ignore them, so no call ever reaches the console as an error.
(function (global) {
    'use strict';
    ['SetLocation', 'setstart', 'clearPath', 'appendPathNode', 'showPath', 'setposition']
        .forEach(function (name) {
            if (typeof global[name] !== 'function')
                global[name] = function () {};
        });
})(window);
