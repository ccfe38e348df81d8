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
</TS>
