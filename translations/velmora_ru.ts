<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ExportActions</name>
    <message>
        <location filename="../app/exportactions.cpp" line="38"/>
        <source>Mark start</source>
        <translation>Отметить начало</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="39"/>
        <source>Mark end</source>
        <translation>Отметить конец</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="40"/>
        <source>Clear marks</source>
        <translation>Снять отметки</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="41"/>
        <source>Export clip…</source>
        <translation>Экспорт фрагмента…</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="42"/>
        <source>Export clip with caption…</source>
        <translation>Экспорт фрагмента с подписью…</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="43"/>
        <source>Export track as GPX…</source>
        <translation>Экспорт трека в GPX…</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="44"/>
        <source>Export track as CSV…</source>
        <translation>Экспорт трека в CSV…</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="94"/>
        <source>Play a recording or a trip to export it.</source>
        <translation>Чтобы экспортировать запись или поездку, включите её воспроизведение.</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="99"/>
        <source>Video (*.mp4 *.mov)</source>
        <translation>Видео (*.mp4 *.mov)</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="97"/>
        <source>GPX track (*.gpx)</source>
        <translation>Трек GPX (*.gpx)</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="98"/>
        <source>CSV table (*.csv)</source>
        <translation>Таблица CSV (*.csv)</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="100"/>
        <source>Export</source>
        <translation>Экспорт</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="133"/>
        <source>Exporting %1…</source>
        <translation>Экспорт %1…</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="133"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="153"/>
        <source>Not exported: %1</source>
        <translation>Не экспортировано: %1</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="155"/>
        <source>Exported to %1; %2</source>
        <translation>Экспортировано в %1; %2</translation>
    </message>
    <message>
        <location filename="../app/exportactions.cpp" line="157"/>
        <source>Exported to %1</source>
        <translation>Экспортировано в %1</translation>
    </message>
</context>
<context>
    <name>GpxReader</name>
    <message>
        <location filename="../logs/gpxlog.cpp" line="94"/>
        <source>not a GPX file</source>
        <translation>не файл GPX</translation>
    </message>
    <message>
        <location filename="../logs/gpxlog.cpp" line="114"/>
        <source>a track point without place or time</source>
        <translation>точка трека без места или времени</translation>
    </message>
    <message>
        <location filename="../logs/gpxlog.cpp" line="167"/>
        <source>the file ends early</source>
        <translation>файл обрывается</translation>
    </message>
    <message>
        <location filename="../logs/gpxlog.cpp" line="169"/>
        <source>no track</source>
        <translation>нет трека</translation>
    </message>
    <message>
        <location filename="../logs/gpxlog.cpp" line="198"/>
        <source>a track point earlier than the one before</source>
        <translation>точка трека раньше предыдущей</translation>
    </message>
</context>
<context>
    <name>MapPages</name>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="16"/>
        <source>Dash-camera recording player</source>
        <translation>Проигрыватель записей видеорегистратора</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="18"/>
        <source>Import recordings with the folder button below,&lt;br&gt;then double-click one to play it.</source>
        <translation>Добавьте записи кнопкой с папкой внизу,&lt;br&gt;затем дважды щёлкните запись, чтобы её воспроизвести.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="20"/>
        <source>Its route and the car&amp;rsquo;s position then appear here.</source>
        <translation>Здесь появятся её маршрут и положение автомобиля.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="21"/>
        <source>The map could not be loaded</source>
        <translation>Не удалось загрузить карту</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="23"/>
        <source>No tile of this route could be had: the map server did not answer, and neither the cache nor an offline map holds them.</source>
        <translation>Для этого маршрута нет ни одного фрагмента карты: сервер карт не ответил, а ни кэш, ни офлайн-карта их не содержат.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="25"/>
        <source>Video, speed, G-sensor and position still follow the recording.</source>
        <translation>Видео, скорость, G-сенсор и координаты по-прежнему следуют за записью.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="26"/>
        <source>Route and position are not shown on a map.</source>
        <translation>Маршрут и положение не показаны на карте.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="27"/>
        <source>No GPS log for this recording</source>
        <translation>Для этой записи нет GPS-журнала</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="29"/>
        <source>Marvenda looks for it in the &lt;code&gt;gps&lt;/code&gt; folder two levels above the video file and found none there.</source>
        <translation>Marvenda ищет его в папке &lt;code&gt;gps&lt;/code&gt; на два уровня выше видеофайла и не нашла его там.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="31"/>
        <source>The video plays as usual.</source>
        <translation>Видео воспроизводится как обычно.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="32"/>
        <source>Speed, G-sensor and map are unavailable.</source>
        <translation>Скорость, G-датчик и карта недоступны.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="33"/>
        <source>Too few GPS fixes</source>
        <translation>Слишком мало GPS-координат</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="35"/>
        <source>This recording has a GPS log, but it holds too few position fixes to show a route &amp;mdash; the camera probably had no satellite reception.</source>
        <translation>У этой записи есть GPS-журнал, но в нём слишком мало координат, чтобы показать маршрут &amp;mdash; вероятно, камера не принимала сигнал спутников.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="38"/>
        <source>The video and the G-sensor graph still work.</source>
        <translation>Видео и график G-датчика работают.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="39"/>
        <source>No map, route or car position.</source>
        <translation>Нет карты, маршрута и положения автомобиля.</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="40"/>
        <source>km/h</source>
        <translation>км/ч</translation>
    </message>
    <message>
        <location filename="../playback/mappagetexts.cpp" line="41"/>
        <source>hard event</source>
        <translation>резкий манёвр</translation>
    </message>
</context>
<context>
    <name>MapWebProfile</name>
    <message>
        <location filename="../playback/mapwebprofile.cpp" line="107"/>
        <source>Map tiles are not kept between runs: %1 cannot be written.</source>
        <translation>Фрагменты карты не сохраняются между запусками: нет права записи в %1.</translation>
    </message>
    <message>
        <location filename="../playback/mapwebprofile.cpp" line="142"/>
        <source>Offline map not used: %1</source>
        <translation>Офлайн-карта не используется: %1</translation>
    </message>
</context>
<context>
    <name>NmeaLog</name>
    <message>
        <location filename="../logs/nmealog.cpp" line="200"/>
        <source>a sentence without its checksum</source>
        <translation>предложение без контрольной суммы</translation>
    </message>
    <message>
        <location filename="../logs/nmealog.cpp" line="207"/>
        <source>a sentence cut short</source>
        <translation>оборванное предложение</translation>
    </message>
    <message>
        <location filename="../logs/nmealog.cpp" line="216"/>
        <source>a sentence with a wrong checksum</source>
        <translation>предложение с неверной контрольной суммой</translation>
    </message>
    <message>
        <location filename="../logs/nmealog.cpp" line="276"/>
        <source>a sentence without a usable time</source>
        <translation>предложение без пригодного времени</translation>
    </message>
    <message>
        <location filename="../logs/nmealog.cpp" line="294"/>
        <source>a sentence earlier than the one before</source>
        <translation>предложение раньше предыдущего</translation>
    </message>
    <message>
        <location filename="../logs/nmealog.cpp" line="297"/>
        <source>a jump in time too far to be the same drive</source>
        <translation>слишком большой скачок во времени для одной поездки</translation>
    </message>
</context>
<context>
    <name>OfflineTiles</name>
    <message>
        <location filename="../maptiles/offlinetiles.cpp" line="120"/>
        <location filename="../maptiles/offlinetiles.cpp" line="125"/>
        <source>%1 cannot be read.</source>
        <translation>не удаётся прочитать %1.</translation>
    </message>
    <message>
        <location filename="../maptiles/offlinetiles.cpp" line="131"/>
        <source>%1 is not an SQLite file.</source>
        <translation>%1 — не файл SQLite.</translation>
    </message>
    <message>
        <location filename="../maptiles/offlinetiles.cpp" line="136"/>
        <source>%1 is not an MBTiles file: it has no table of tiles.</source>
        <translation>%1 — не файл MBTiles: в нём нет таблицы фрагментов.</translation>
    </message>
</context>
<context>
    <name>PlaybackRate</name>
    <message>
        <location filename="../playback/playbackrate.cpp" line="34"/>
        <source>Speed %1×</source>
        <translation>Скорость %1×</translation>
    </message>
    <message>
        <location filename="../playback/playbackrate.cpp" line="42"/>
        <source>Log %1 s</source>
        <translation>Журнал GPS %1 с</translation>
    </message>
</context>
<context>
    <name>ProgramPaths</name>
    <message>
        <location filename="../library/programpaths.cpp" line="27"/>
        <source>%1 is a symbolic link</source>
        <translation>%1 — символическая ссылка</translation>
    </message>
    <message>
        <location filename="../library/programpaths.cpp" line="32"/>
        <source>%1 is not a folder</source>
        <translation>%1 — не папка</translation>
    </message>
    <message>
        <location filename="../library/programpaths.cpp" line="37"/>
        <source>%1 cannot be created</source>
        <translation>не удаётся создать %1</translation>
    </message>
    <message>
        <location filename="../library/programpaths.cpp" line="42"/>
        <source>%1 cannot be written</source>
        <translation>нет права записи в %1</translation>
    </message>
    <message>
        <location filename="../library/programpaths.cpp" line="95"/>
        <source>there is no pictures folder</source>
        <translation>нет папки для изображений</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../app/main.cpp" line="148"/>
        <source>Loading...Please Wait.</source>
        <translation>Загрузка… Пожалуйста, подождите.</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="258"/>
        <source>File Name</source>
        <translation>Имя файла</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="258"/>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="259"/>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="259"/>
        <source>GPS File</source>
        <translation>GPS</translation>
    </message>
    <message>
        <location filename="../catalogue/uvideoandgpsfiles.cpp" line="146"/>
        <source>Available</source>
        <translation>Есть</translation>
    </message>
    <message>
        <location filename="../catalogue/uvideoandgpsfiles.cpp" line="144"/>
        <source>Unavailable</source>
        <translation>Неполный</translation>
    </message>
    <message>
        <location filename="../catalogue/uvideoandgpsfiles.cpp" line="142"/>
        <source>Not Exist</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>RecordingLibrary</name>
    <message>
        <location filename="../library/recordinglibrary.cpp" line="127"/>
        <source>Recordings are not remembered: %1 cannot be written.</source>
        <translation>Записи не запоминаются: нет права записи в %1.</translation>
    </message>
    <message>
        <location filename="../library/recordinglibrary.cpp" line="136"/>
        <source>Recordings are not remembered: %1 cannot be used.</source>
        <translation>Записи не запоминаются: %1 нельзя использовать.</translation>
    </message>
    <message>
        <location filename="../library/recordinglibrary.cpp" line="192"/>
        <source>The library was damaged and has been put aside as %1; it starts empty.</source>
        <translation>Библиотека была повреждена и отложена как %1; она начата заново.</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../app/settingsdialog.cpp" line="12"/>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <location filename="../app/settingsdialog.cpp" line="16"/>
        <source>%1 and %2</source>
        <translation>%1 и %2</translation>
    </message>
    <message>
        <location filename="../app/settingsdialog.cpp" line="20"/>
        <source>Local time</source>
        <translation>Местное время</translation>
    </message>
    <message>
        <location filename="../app/settingsdialog.cpp" line="36"/>
        <source>Speed and distance</source>
        <translation>Скорость и расстояние</translation>
    </message>
    <message>
        <location filename="../app/settingsdialog.cpp" line="37"/>
        <source>Times shown in</source>
        <translation>Время показывать</translation>
    </message>
</context>
<context>
    <name>SpeedUnit</name>
    <message>
        <location filename="../library/speedunit.cpp" line="32"/>
        <source>mph</source>
        <translation>миль/ч</translation>
    </message>
    <message>
        <location filename="../library/speedunit.cpp" line="33"/>
        <source>km/h</source>
        <translation>км/ч</translation>
    </message>
    <message>
        <location filename="../library/speedunit.cpp" line="38"/>
        <source>mi</source>
        <translation>мили</translation>
    </message>
    <message>
        <location filename="../library/speedunit.cpp" line="39"/>
        <source>km</source>
        <translation>км</translation>
    </message>
</context>
<context>
    <name>TripsView</name>
    <message>
        <location filename="../app/tripsview.cpp" line="39"/>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="75"/>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="75"/>
        <source>Start</source>
        <translation>Начало</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="75"/>
        <source>End</source>
        <translation>Конец</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="75"/>
        <source>Duration</source>
        <translation>Длительность</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="75"/>
        <source>Clips</source>
        <translation>Записи</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="77"/>
        <source>Events</source>
        <translation>События</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="50"/>
        <source>Distance driven</source>
        <translation>Пройденное расстояние</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="51"/>
        <source>Mean speed while moving</source>
        <translation>Средняя скорость в движении</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="52"/>
        <source>Hard braking, swerves and bumps</source>
        <translation>Резкие торможения, манёвры и удары</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="76"/>
        <source>Max %1</source>
        <translation>Макс. %1</translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="77"/>
        <source>Mean %1</source>
        <translation>Средн. %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/tripsview.cpp" line="107"/>
        <source>Trips: looking at %n recording(s)…</source>
        <translation>
            <numerusform>Поездки: просматривается %n запись…</numerusform>
            <numerusform>Поездки: просматриваются %n записи…</numerusform>
            <numerusform>Поездки: просматривается %n записей…</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="138"/>
        <source>Trips: none yet. Import recordings first.</source>
        <translation>Поездок пока нет. Сначала импортируйте записи.</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/tripsview.cpp" line="139"/>
        <source>Trips: %n drive(s). Double-click one to play it.</source>
        <translation>
            <numerusform>Поездки: %n поездка. Дважды щёлкните, чтобы воспроизвести.</numerusform>
            <numerusform>Поездки: %n поездки. Дважды щёлкните, чтобы воспроизвести.</numerusform>
            <numerusform>Поездки: %n поездок. Дважды щёлкните, чтобы воспроизвести.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/tripsview.cpp" line="162"/>
        <source>Play from here</source>
        <translation>Воспроизвести отсюда</translation>
    </message>
</context>
<context>
    <name>UVlcWrapper</name>
    <message>
        <location filename="../playback/uvlcwrapper.cpp" line="609"/>
        <source>there is no picture to take</source>
        <translation>нет кадра для снимка</translation>
    </message>
    <message>
        <location filename="../playback/uvlcwrapper.cpp" line="627"/>
        <source>the video shows no picture yet</source>
        <translation>видео ещё не показывает кадр</translation>
    </message>
</context>
<context>
    <name>Velmora</name>
    <message>
        <location filename="../app/velmora.cpp" line="325"/>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="328"/>
        <source>As the system</source>
        <translation>Как в системе</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="336"/>
        <source>The language changes at the next start.</source>
        <translation>Язык сменится при следующем запуске.</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="342"/>
        <source>Trips…</source>
        <translation>Поездки…</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="343"/>
        <source>Remove missing recordings</source>
        <translation>Убрать отсутствующие записи</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="344"/>
        <source>Settings…</source>
        <translation>Настройки…</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="348"/>
        <location filename="../app/velmora.cpp" line="390"/>
        <source>About Marvenda</source>
        <translation>О программе Marvenda</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="364"/>
        <source>Missing recordings removed: %1</source>
        <translation>Убрано отсутствующих записей: %1</translation>
    </message>
    <message>
        <location filename="../catalogue/listtables.cpp" line="55"/>
        <source>Missing: %1</source>
        <translation>Нет файла: %1</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="467"/>
        <source>Menu</source>
        <translation>Меню</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="391"/>
        <source>&lt;p&gt;&lt;b&gt;Marvenda&lt;/b&gt; %1 &amp;mdash; dash-camera recording player&lt;/p&gt;&lt;p&gt;Qt %2, libvlc %3&lt;/p&gt;&lt;p&gt;Map data &amp;copy; OpenStreetMap contributors, under the Open Database License (ODbL); map library Leaflet.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Marvenda&lt;/b&gt; %1 &amp;mdash; проигрыватель записей видеорегистратора&lt;/p&gt;&lt;p&gt;Qt %2, libvlc %3&lt;/p&gt;&lt;p&gt;Картографические данные &amp;copy; участники OpenStreetMap, лицензия Open Database License (ODbL); картографическая библиотека Leaflet.&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../playback/updatecycle.cpp" line="138"/>
        <source>Cannot play %1: %2</source>
        <translation>Не удаётся воспроизвести %1: %2</translation>
    </message>
    <message>
        <location filename="../playback/updatecycle.cpp" line="135"/>
        <source>file not found</source>
        <translation>файл не найден</translation>
    </message>
    <message>
        <location filename="../playback/updatecycle.cpp" line="136"/>
        <source>empty file</source>
        <translation>пустой файл</translation>
    </message>
    <message>
        <location filename="../playback/updatecycle.cpp" line="137"/>
        <source>not a video</source>
        <translation>это не видео</translation>
    </message>
    <message>
        <location filename="../catalogue/listtables.cpp" line="70"/>
        <source>page %1 of %2</source>
        <translation>стр. %1 из %2</translation>
    </message>
    <message>
        <location filename="../catalogue/listtables.cpp" line="71"/>
        <source>1 recording</source>
        <translation>1 запись</translation>
    </message>
    <message>
        <location filename="../catalogue/listtables.cpp" line="72"/>
        <source>%L1 recordings</source>
        <translation>записей: %L1</translation>
    </message>
    <message>
        <location filename="../playback/playbackcontrols.cpp" line="136"/>
        <source>Snapshot saved, with a captioned copy: %1</source>
        <translation>Снимок сохранён, с копией с подписью: %1</translation>
    </message>
    <message>
        <location filename="../playback/playbackcontrols.cpp" line="137"/>
        <source>Snapshot saved: %1; no captioned copy: %2</source>
        <translation>Снимок сохранён: %1; копия с подписью не создана: %2</translation>
    </message>
    <message>
        <location filename="../playback/playbackcontrols.cpp" line="142"/>
        <source>Snapshot not saved: %1</source>
        <translation>Снимок не сохранён: %1</translation>
    </message>
    <message>
        <location filename="../catalogue/videoimport.cpp" line="173"/>
        <source>Not imported, not a readable video file: %1</source>
        <translation>Не добавлено, это не читаемый видеофайл: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../catalogue/videoimport.cpp" line="176"/>
        <source>and %n more</source>
        <translation>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../catalogue/listtables.cpp" line="97"/>
        <source>Open Files</source>
        <translation>Открыть видеозаписи</translation>
    </message>
    <message>
        <location filename="../catalogue/listtables.cpp" line="98"/>
        <source>Video Files (*.MOV)</source>
        <translation>Видеофайлы (*.MOV)</translation>
    </message>
    <message>
        <location filename="../catalogue/videoimport.cpp" line="127"/>
        <source>Importing recordings...</source>
        <translation>Импорт видеозаписей…</translation>
    </message>
    <message>
        <location filename="../catalogue/videoimport.cpp" line="127"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="455"/>
        <source>Previous recording</source>
        <translation>Предыдущая запись</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="456"/>
        <source>Play or pause (Space)</source>
        <translation>Воспроизведение или пауза (пробел)</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="457"/>
        <source>Next recording</source>
        <translation>Следующая запись</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="458"/>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="459"/>
        <source>Snapshot (S)</source>
        <translation>Снимок кадра (S)</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="460"/>
        <source>Import videos</source>
        <translation>Импортировать видеозаписи</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="461"/>
        <source>Previous page</source>
        <translation>Предыдущая страница</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="462"/>
        <source>Next page</source>
        <translation>Следующая страница</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="463"/>
        <source>Remove the selected recording from the list</source>
        <translation>Убрать выбранную запись из списка</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="464"/>
        <source>Minimize</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="465"/>
        <source>Maximize or restore</source>
        <translation>Развернуть или восстановить</translation>
    </message>
    <message>
        <location filename="../app/velmora.cpp" line="466"/>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
</TS>
