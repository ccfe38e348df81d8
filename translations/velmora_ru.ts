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
</TS>
