<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr" sourcelanguage="en">
<context>
    <name>Dictaro</name>
    <message>
        <source>This file can&apos;t be played. Use MP3, M4A, WAV, AIFF or FLAC.</source>
        <translation>Bu dosya oynatılamıyor. MP3, M4A, WAV, AIFF veya FLAC kullanın.</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Oynatma</translation>
    </message>
    <message>
        <source>Auto-rewind on pause</source>
        <translation>Duraklatınca otomatik geri sar</translation>
    </message>
    <message>
        <source>Skip amount</source>
        <translation>Atlama miktarı</translation>
    </message>
    <message>
        <source>Skip interval</source>
        <translation>Atlama aralığı</translation>
    </message>
    <message>
        <source>%.0f seconds</source>
        <translatorcomment>A printf format: keep %.0f exactly once; it may move.</translatorcomment>
        <translation>%.0f saniye</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Dil</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Sistem</translation>
    </message>
    <message>
        <source>English</source>
        <translatorcomment>A language&apos;s name stays in its own language.</translatorcomment>
        <translation>English</translation>
    </message>
    <message>
        <source>Türkçe</source>
        <translatorcomment>A language&apos;s name stays in its own language.</translatorcomment>
        <translation>Türkçe</translation>
    </message>
    <message>
        <source>Language changes take effect after restarting the app.</source>
        <translation>Dil değişiklikleri uygulama yeniden başlatıldıktan sonra geçerli olur.</translation>
    </message>
</context>
</TS>
