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
        <location filename="../src/app/AudioFileCheck.cpp" line="16"/>
        <source>“%1” could not be found.</source>
        <translation>“%1” bulunamadı.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="18"/>
        <source>“%1” is not a file.</source>
        <translation>“%1” bir dosya değil.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="20"/>
        <source>“%1” is not an audio file Dictaro can open. Choose an MP3, M4A, AAC, WAV, AIFF, FLAC or CAF file.</source>
        <translation>“%1”, Dictaro’nun açabileceği bir ses dosyası değil. MP3, M4A, AAC, WAV, AIFF, FLAC veya CAF dosyası seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="24"/>
        <source>You don&apos;t have permission to read “%1”.</source>
        <translation>“%1” dosyasını okuma izniniz yok.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="30"/>
        <location filename="../src/app/DictaroApp.cpp" line="37"/>
        <location filename="../src/app/views/MainWindow.cpp" line="41"/>
        <location filename="../src/app/views/MainWindow.cpp" line="208"/>
        <location filename="../src/app/views/WelcomeView.cpp" line="130"/>
        <source>Dictaro</source>
        <translation>Dictaro</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="31"/>
        <source>The file can&apos;t be opened.</source>
        <translation>Dosya açılamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="83"/>
        <source>File</source>
        <translation>Dosya</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="84"/>
        <source>Save</source>
        <translation>Kaydet</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="89"/>
        <source>Settings…</source>
        <translation>Ayarlar…</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="93"/>
        <source>Quit</source>
        <translation>Çık</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="97"/>
        <source>Playback</source>
        <translation>Oynatma</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="98"/>
        <source>Play/Pause</source>
        <translation>Oynat/Duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="103"/>
        <source>Skip Back</source>
        <translation>Geri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="106"/>
        <source>Skip Forward</source>
        <translation>İleri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="109"/>
        <source>Slower</source>
        <translation>Daha Yavaş</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="111"/>
        <source>Faster</source>
        <translation>Daha Hızlı</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="115"/>
        <location filename="../src/app/views/TranscriptionView.cpp" line="213"/>
        <source>Insert Timestamp</source>
        <translation>Zaman Damgası Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="140"/>
        <source>View</source>
        <translation>Görünüm</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="141"/>
        <source>Full Screen</source>
        <translation>Tam Ekran</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="148"/>
        <source>Zoom In</source>
        <translation>Yakınlaştır</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="151"/>
        <source>Zoom Out</source>
        <translation>Uzaklaştır</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="153"/>
        <source>Actual Size</source>
        <translation>Gerçek Boyut</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="156"/>
        <source>Help</source>
        <translation>Yardım</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="157"/>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="51"/>
        <source>Keyboard Shortcuts</source>
        <translation>Klavye Kısayolları</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="175"/>
        <source>About Qt</source>
        <translation>Qt Hakkında</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="209"/>
        <source>Your latest changes could not be saved.</source>
        <translation>Son değişiklikleriniz kaydedilemedi.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="211"/>
        <source>If you quit now, they will be lost. Stay to keep them and try saving again.</source>
        <translation>Şimdi çıkarsanız bu değişiklikler kaybolacak. Onları korumak için çıkmayın ve yeniden kaydetmeyi deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="214"/>
        <source>Quit Without Saving</source>
        <translation>Kaydetmeden Çık</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="215"/>
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
        <location filename="../src/app/TranscriptionSession.cpp" line="101"/>
        <source>Autosave failed. Your text is kept in memory; saving will be retried.</source>
        <translation>Otomatik kaydetme başarısız oldu. Metniniz bellekte tutuluyor; kaydetme yeniden denenecek.</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="44"/>
        <source>Plain Text</source>
        <translation>Düz Metin</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="78"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="79"/>
        <source>Export failed</source>
        <translation>Dışa aktarılamadı</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="91"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="94"/>
        <source>Export Transcript</source>
        <translation>Metni Dışa Aktar</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="98"/>
        <source>Format</source>
        <translation>Biçim</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="99"/>
        <source>Plain Text (.txt)</source>
        <translation>Düz Metin (.txt)</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="101"/>
        <source>Markdown (.md)</source>
        <translation>Markdown (.md)</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="117"/>
        <source>Include timestamps</source>
        <translation>Zaman damgalarını ekle</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="121"/>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="124"/>
        <location filename="../src/app/views/MainWindow.cpp" line="86"/>
        <source>Export…</source>
        <translation>Dışa Aktar…</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="86"/>
        <source>Skip back (%1)</source>
        <translation>Geri atla (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="92"/>
        <source>Play/Pause (%1)</source>
        <translation>Oynat/Duraklat (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="97"/>
        <source>Skip forward (%1)</source>
        <translation>İleri atla (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="112"/>
        <source>Playback position</source>
        <translation>Oynatma konumu</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="123"/>
        <source>Slower (%1)</source>
        <translation>Daha yavaş (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="133"/>
        <source>Faster (%1)</source>
        <translation>Daha hızlı (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="208"/>
        <source>Elapsed %1</source>
        <translation>Geçen süre %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="221"/>
        <source>Duration %1</source>
        <translation>Süre %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="235"/>
        <source>Playback speed %1×</source>
        <translation>Oynatma hızı %1×</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsWindow.cpp" line="18"/>
        <source>Settings</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="200"/>
        <source>Back</source>
        <translation>Geri</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="218"/>
        <source>Insert Timestamp (%1)</source>
        <translation>Zaman Damgası Ekle (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="230"/>
        <source>Locate File…</source>
        <translation>Dosyayı Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="260"/>
        <source>Audio file not found. It may have been moved or deleted.</source>
        <translation>Ses dosyası bulunamadı. Taşınmış ya da silinmiş olabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="135"/>
        <source>Transcribe audio by hand, fast.</source>
        <translation>Sesi elle ve hızlıca yazıya dökün.</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="142"/>
        <source>Open Audio File…</source>
        <translation>Ses Dosyası Aç…</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="161"/>
        <location filename="../src/app/views/WelcomeView.cpp" line="168"/>
        <source>Recent Projects</source>
        <translation>Son Projeler</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="237"/>
        <source>Audio Files</source>
        <translation>Ses Dosyaları</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="342"/>
        <source>Audio file: %1</source>
        <translation>Ses dosyası: %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="379"/>
        <source>Delete Project</source>
        <translation>Projeyi Sil</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="38"/>
        <source>Dictaro can&apos;t find a folder for its projects in your home folder, so it can&apos;t keep your work. It will quit now.</source>
        <translation>Dictaro, ana klasörünüzde projeleri için bir klasör bulamıyor; bu yüzden çalışmanızı saklayamaz. Uygulama şimdi kapanacak.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="14"/>
        <location filename="../src/app/views/AboutBox.cpp" line="16"/>
        <source>Transcribe recorded speech by hand.</source>
        <translation>Kaydedilmiş konuşmayı elle yazıya dökün.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="18"/>
        <source>An audio file to open as a project.</source>
        <translation>Proje olarak açılacak bir ses dosyası.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="26"/>
        <source>Try “dictaro --help”.</source>
        <translation>“dictaro --help” komutunu deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="43"/>
        <source>Only one file can be opened at a time.</source>
        <translation>Aynı anda yalnızca bir dosya açılabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="53"/>
        <source>“%1” is not a local file.</source>
        <translation>“%1” yerel bir dosya değil.</translation>
    </message>
    <message>
        <location filename="../src/app/views/AboutBox.cpp" line="17"/>
        <source>Licensed under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later).</source>
        <translation>GNU Genel Kamu Lisansı’nın 3. sürümü veya daha sonraki herhangi bir sürümü (GPL-3.0-or-later) kapsamında lisanslanmıştır.</translation>
    </message>
    <message>
        <location filename="../src/app/views/AboutBox.cpp" line="20"/>
        <source>Built on Qt %1 and %2.</source>
        <translation>Qt %1 ve %2 üzerine kurulmuştur.</translation>
    </message>
    <message>
        <location filename="../src/app/views/AboutBox.cpp" line="44"/>
        <location filename="../src/app/views/MainWindow.cpp" line="172"/>
        <source>About Dictaro</source>
        <translation>Dictaro Hakkında</translation>
    </message>
    <message>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="57"/>
        <source>Keyboard shortcuts</source>
        <translation>Klavye kısayolları</translation>
    </message>
    <message>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="59"/>
        <source>Command</source>
        <translation>Komut</translation>
    </message>
    <message>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="59"/>
        <source>Keys</source>
        <translation>Tuşlar</translation>
    </message>
    <message>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="69"/>
        <source>Close</source>
        <translation>Kapat</translation>
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
