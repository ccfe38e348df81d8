<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>QObject</name>
    <message>
        <source>Loading...Please Wait.</source>
        <translation>Загрузка… Пожалуйста, подождите.</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Имя файла</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>GPS File</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>Есть</translation>
    </message>
    <message>
        <source>Unavailable</source>
        <translation>Неполный</translation>
    </message>
    <message>
        <source>Not Exist</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>Velmora</name>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>As the system</source>
        <translation>Как в системе</translation>
    </message>
    <message>
        <source>The language changes at the next start.</source>
        <translation>Язык сменится при следующем запуске.</translation>
    </message>
    <message>
        <source>Remove missing recordings</source>
        <translation>Убрать отсутствующие записи</translation>
    </message>
    <message>
        <source>About Marvenda</source>
        <translation>О программе Marvenda</translation>
    </message>
    <message>
        <source>Missing recordings removed: %1</source>
        <translation>Убрано отсутствующих записей: %1</translation>
    </message>
    <message>
        <source>Missing: %1</source>
        <translation>Нет файла: %1</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Меню</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Marvenda&lt;/b&gt; %1 &amp;mdash; dash-camera recording player&lt;/p&gt;&lt;p&gt;Qt %2, libvlc %3&lt;/p&gt;&lt;p&gt;Map data &amp;copy; OpenStreetMap contributors, under the Open Database License (ODbL); map library Leaflet.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Marvenda&lt;/b&gt; %1 &amp;mdash; проигрыватель записей видеорегистратора&lt;/p&gt;&lt;p&gt;Qt %2, libvlc %3&lt;/p&gt;&lt;p&gt;Картографические данные &amp;copy; участники OpenStreetMap, лицензия Open Database License (ODbL); картографическая библиотека Leaflet.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Cannot play %1: %2</source>
        <translation>Не удаётся воспроизвести %1: %2</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>файл не найден</translation>
    </message>
    <message>
        <source>empty file</source>
        <translation>пустой файл</translation>
    </message>
    <message>
        <source>not a video</source>
        <translation>это не видео</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>стр. %1 из %2</translation>
    </message>
    <message>
        <source>1 recording</source>
        <translation>1 запись</translation>
    </message>
    <message>
        <source>%L1 recordings</source>
        <translation>записей: %L1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Снимок сохранён: %1</translation>
    </message>
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Снимок не сохранён: %1</translation>
    </message>
    <message>
        <source>Not imported, not a readable video file: %1</source>
        <translation>Не добавлено, это не читаемый видеофайл: %1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Open Files</source>
        <translation>Открыть видеозаписи</translation>
    </message>
    <message>
        <source>Video Files (*.MOV)</source>
        <translation>Видеофайлы (*.MOV)</translation>
    </message>
    <message>
        <source>Importing recordings...</source>
        <translation>Импорт видеозаписей…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Previous recording</source>
        <translation>Предыдущая запись</translation>
    </message>
    <message>
        <source>Play or pause (Space)</source>
        <translation>Воспроизведение или пауза (пробел)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Следующая запись</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Snapshot (S)</source>
        <translation>Снимок кадра (S)</translation>
    </message>
    <message>
        <source>Import videos</source>
        <translation>Импортировать видеозаписи</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Предыдущая страница</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Следующая страница</translation>
    </message>
    <message>
        <source>Remove the selected recording from the list</source>
        <translation>Убрать выбранную запись из списка</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <source>Maximize or restore</source>
        <translation>Развернуть или восстановить</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>ProgramPaths</name>
    <message>
        <source>%1 is a symbolic link</source>
        <translation>%1 — символическая ссылка</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 — не папка</translation>
    </message>
    <message>
        <source>%1 cannot be created</source>
        <translation>не удаётся создать %1</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>нет права записи в %1</translation>
    </message>
    <message>
        <source>there is no pictures folder</source>
        <translation>нет папки для изображений</translation>
    </message>
</context>
<context>
    <name>UVlcWrapper</name>
    <message>
        <source>there is no picture to take</source>
        <translation>нет кадра для снимка</translation>
    </message>
    <message>
        <source>the video shows no picture yet</source>
        <translation>видео ещё не показывает кадр</translation>
    </message>
</context>
<context>
    <name>MapPages</name>
    <message>
        <source>Dash-camera recording player</source>
        <translation>Проигрыватель записей видеорегистратора</translation>
    </message>
    <message>
        <source>Import recordings with the folder button below,&lt;br&gt;then double-click one to play it.</source>
        <translation>Добавьте записи кнопкой с папкой внизу,&lt;br&gt;затем дважды щёлкните запись, чтобы её воспроизвести.</translation>
    </message>
    <message>
        <source>Its route and the car&amp;rsquo;s position then appear here.</source>
        <translation>Здесь появятся её маршрут и положение автомобиля.</translation>
    </message>
    <message>
        <source>The map could not be loaded</source>
        <translation>Не удалось загрузить карту</translation>
    </message>
    <message>
        <source>There is no internet connection,&lt;br&gt;or the map server did not answer.</source>
        <translation>Нет подключения к интернету,&lt;br&gt;или сервер карт не ответил.</translation>
    </message>
    <message>
        <source>The video still plays.</source>
        <translation>Видео воспроизводится.</translation>
    </message>
    <message>
        <source>Route and position are not shown on a map.</source>
        <translation>Маршрут и положение не показаны на карте.</translation>
    </message>
    <message>
        <source>No GPS log for this recording</source>
        <translation>Для этой записи нет GPS-журнала</translation>
    </message>
    <message>
        <source>Marvenda looks for it in the &lt;code&gt;gps&lt;/code&gt; folder two levels above the video file and found none there.</source>
        <translation>Marvenda ищет его в папке &lt;code&gt;gps&lt;/code&gt; на два уровня выше видеофайла и не нашла его там.</translation>
    </message>
    <message>
        <source>The video plays as usual.</source>
        <translation>Видео воспроизводится как обычно.</translation>
    </message>
    <message>
        <source>Speed, G-sensor and map are unavailable.</source>
        <translation>Скорость, G-датчик и карта недоступны.</translation>
    </message>
    <message>
        <source>Too few GPS fixes</source>
        <translation>Слишком мало GPS-координат</translation>
    </message>
    <message>
        <source>This recording has a GPS log, but it holds too few position fixes to show a route &amp;mdash; the camera probably had no satellite reception.</source>
        <translation>У этой записи есть GPS-журнал, но в нём слишком мало координат, чтобы показать маршрут &amp;mdash; вероятно, камера не принимала сигнал спутников.</translation>
    </message>
    <message>
        <source>The video and the G-sensor graph still work.</source>
        <translation>Видео и график G-датчика работают.</translation>
    </message>
    <message>
        <source>No map, route or car position.</source>
        <translation>Нет карты, маршрута и положения автомобиля.</translation>
    </message>
</context>
<context>
    <name>RecordingLibrary</name>
    <message>
        <source>Recordings are not remembered: %1 cannot be written.</source>
        <translation>Записи не запоминаются: нет права записи в %1.</translation>
    </message>
    <message>
        <source>Recordings are not remembered: %1 cannot be used.</source>
        <translation>Записи не запоминаются: %1 нельзя использовать.</translation>
    </message>
    <message>
        <source>The library was damaged and has been put aside as %1; it starts empty.</source>
        <translation>Библиотека была повреждена и отложена как %1; она начата заново.</translation>
    </message>
</context>
</TS>
