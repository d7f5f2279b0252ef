<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr" sourcelanguage="en">
<context>
    <name>Dictaro</name>
    <message>
        <location filename="../src/app/PlaybackEngine.cpp" line="139"/>
        <source>This file can&apos;t be played. Use MP3, M4A, WAV, AIFF or FLAC.</source>
        <translation>Bu dosya oynatılamıyor. MP3, M4A, WAV, AIFF veya FLAC kullanın.</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="36"/>
        <location filename="../src/app/views/MainWindow.cpp" line="37"/>
        <location filename="../src/app/views/MainWindow.cpp" line="145"/>
        <location filename="../src/app/views/WelcomeView.cpp" line="129"/>
        <source>Dictaro</source>
        <translation>Dictaro</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="78"/>
        <source>File</source>
        <translation>Dosya</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="79"/>
        <source>Save</source>
        <translation>Kaydet</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="84"/>
        <source>Settings…</source>
        <translation>Ayarlar…</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="88"/>
        <source>Quit</source>
        <translation>Çık</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="92"/>
        <source>Playback</source>
        <translation>Oynatma</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="93"/>
        <source>Play/Pause</source>
        <translation>Oynat/Duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="98"/>
        <source>Skip Back</source>
        <translation>Geri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="101"/>
        <source>Skip Forward</source>
        <translation>İleri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="104"/>
        <source>Slower</source>
        <translation>Daha Yavaş</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="106"/>
        <source>Faster</source>
        <translation>Daha Hızlı</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="110"/>
        <location filename="../src/app/views/TranscriptionView.cpp" line="211"/>
        <source>Insert Timestamp</source>
        <translation>Zaman Damgası Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="146"/>
        <source>Your latest changes could not be saved.</source>
        <translation>Son değişiklikleriniz kaydedilemedi.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="148"/>
        <source>If you quit now, they will be lost. Stay to keep them and try saving again.</source>
        <translation>Şimdi çıkarsanız bu değişiklikler kaybolacak. Onları korumak için çıkmayın ve yeniden kaydetmeyi deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="151"/>
        <source>Quit Without Saving</source>
        <translation>Kaydetmeden Çık</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="152"/>
        <source>Don&apos;t Quit</source>
        <translation>Çıkma</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="119"/>
        <source>Auto-rewind on pause</source>
        <translation>Duraklatınca otomatik geri sar</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="121"/>
        <source>Skip amount</source>
        <translation>Atlama miktarı</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="168"/>
        <source>%.0f seconds</source>
        <translatorcomment>A printf format: keep %.0f exactly once; it may move.</translatorcomment>
        <translation>%.0f saniye</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="123"/>
        <source>Language</source>
        <translation>Dil</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="104"/>
        <source>System</source>
        <translation>Sistem</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="126"/>
        <source>Language changes take effect after restarting the app.</source>
        <translation>Dil değişiklikleri uygulama yeniden başlatıldıktan sonra geçerli olur.</translation>
    </message>
    <message>
        <location filename="../src/app/TranscriptionSession.cpp" line="102"/>
        <source>Autosave failed. Your text is kept in memory; saving will be retried.</source>
        <translation>Otomatik kaydetme başarısız oldu. Metniniz bellekte tutuluyor; kaydetme yeniden denenecek.</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="44"/>
        <source>Plain Text</source>
        <translation>Düz Metin</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="80"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="81"/>
        <source>Export failed</source>
        <translation>Dışa aktarılamadı</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="93"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="96"/>
        <source>Export Transcript</source>
        <translation>Metni Dışa Aktar</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="100"/>
        <source>Format</source>
        <translation>Biçim</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="101"/>
        <source>Plain Text (.txt)</source>
        <translation>Düz Metin (.txt)</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="103"/>
        <source>Markdown (.md)</source>
        <translation>Markdown (.md)</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="119"/>
        <source>Include timestamps</source>
        <translation>Zaman damgalarını ekle</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="123"/>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="126"/>
        <location filename="../src/app/views/MainWindow.cpp" line="81"/>
        <source>Export…</source>
        <translation>Dışa Aktar…</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="91"/>
        <source>Skip back (%1)</source>
        <translation>Geri atla (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="97"/>
        <source>Play/Pause (%1)</source>
        <translation>Oynat/Duraklat (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="102"/>
        <source>Skip forward (%1)</source>
        <translation>İleri atla (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="127"/>
        <source>Slower (%1)</source>
        <translation>Daha yavaş (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="137"/>
        <source>Faster (%1)</source>
        <translation>Daha hızlı (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsWindow.cpp" line="18"/>
        <source>Settings</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="198"/>
        <source>Back</source>
        <translation>Geri</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="216"/>
        <source>Insert Timestamp (%1)</source>
        <translation>Zaman Damgası Ekle (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="228"/>
        <source>Locate File…</source>
        <translation>Dosyayı Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="258"/>
        <source>Audio file not found. It may have been moved or deleted.</source>
        <translation>Ses dosyası bulunamadı. Taşınmış ya da silinmiş olabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="134"/>
        <source>Transcribe audio by hand, fast.</source>
        <translation>Sesi elle ve hızlıca yazıya dökün.</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="141"/>
        <source>Open Audio File…</source>
        <translation>Ses Dosyası Aç…</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="160"/>
        <source>Recent Projects</source>
        <translation>Son Projeler</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="235"/>
        <source>Audio Files</source>
        <translation>Ses Dosyaları</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="367"/>
        <source>Delete Project</source>
        <translation>Projeyi Sil</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="37"/>
        <source>Dictaro can&apos;t find a folder for its projects in your home folder, so it can&apos;t keep your work. It will quit now.</source>
        <translation>Dictaro, ana klasörünüzde projeleri için bir klasör bulamıyor; bu yüzden çalışmanızı saklayamaz. Uygulama şimdi kapanacak.</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="122"/>
        <source>%1 (no dictionary)</source>
        <translation>%1 (sözlük yok)</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="348"/>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="222"/>
        <source>Add to Dictionary</source>
        <translation>Sözlüğe Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="52"/>
        <source>Check Spelling While Typing</source>
        <translation>Yazarken Yazımı Denetle</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="277"/>
        <source>Continued from the bottom</source>
        <translation>Sondan devam edildi</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="276"/>
        <source>Continued from the top</source>
        <translation>Baştan devam edildi</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="34"/>
        <source>Copy</source>
        <translation>Kopyala</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="33"/>
        <source>Cut</source>
        <translation>Kes</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="36"/>
        <source>Delete</source>
        <translation>Sil</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="78"/>
        <source>Done</source>
        <translation>Bitti</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="146"/>
        <source>Edit</source>
        <translation>Düzen</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="42"/>
        <source>Find Next</source>
        <translation>Sonrakini Bul</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="46"/>
        <source>Find Previous</source>
        <translation>Öncekini Bul</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="50"/>
        <source>Find</source>
        <translation>Bul</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="40"/>
        <source>Find…</source>
        <translation>Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="224"/>
        <source>Ignore</source>
        <translation>Yok Say</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="67"/>
        <source>Match Case</source>
        <translation>Büyük/Küçük Harf Eşleştir</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="350"/>
        <source>Matches: %1</source>
        <translation>Eşleşme: %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="65"/>
        <source>Next (%1)</source>
        <translation>Sonraki (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="168"/>
        <source>No Dictionaries Installed</source>
        <translation>Yüklü Sözlük Yok</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="169"/>
        <source>No Dictionary for %1</source>
        <translation>%1 İçin Sözlük Yok</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="220"/>
        <source>No Suggestions</source>
        <translation>Öneri Yok</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="340"/>
        <source>Not found</source>
        <translation>Bulunamadı</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="35"/>
        <source>Paste</source>
        <translation>Yapıştır</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="59"/>
        <source>Previous (%1)</source>
        <translation>Önceki (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="30"/>
        <source>Redo</source>
        <translation>Yinele</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="87"/>
        <source>Replace All</source>
        <translation>Tümünü Değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="83"/>
        <source>Replace with</source>
        <translation>Şununla değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="85"/>
        <source>Replace</source>
        <translation>Değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="315"/>
        <source>Replaced: %1</source>
        <translation>Değiştirilen: %1</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="49"/>
        <source>Replace…</source>
        <translation>Değiştir…</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="38"/>
        <source>Select All</source>
        <translation>Tümünü Seç</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="153"/>
        <location filename="../src/app/views/SettingsView.cpp" line="139"/>
        <source>Spelling</source>
        <translation>Yazım</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="27"/>
        <source>Undo</source>
        <translation>Geri Al</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="69"/>
        <source>Whole Words</source>
        <translation>Tam Sözcükler</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <location filename="../src/app/Localization.cpp" line="67"/>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
</context>
</TS>
