<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr" sourcelanguage="en">
<context>
    <name>Dictaro</name>
    <message>
        <location filename="../src/app/PlaybackEngine.cpp" line="134"/>
        <source>This file can&apos;t be played. Use MP3, M4A, WAV, AIFF or FLAC.</source>
        <translation>Bu dosya oynatılamıyor. MP3, M4A, WAV, AIFF veya FLAC kullanın.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="15"/>
        <source>“%1” could not be found.</source>
        <translation>“%1” bulunamadı.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="17"/>
        <source>“%1” is not a file.</source>
        <translation>“%1” bir dosya değil.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="19"/>
        <source>“%1” is not an audio file Dictaro can open. Choose an MP3, M4A, AAC, WAV, AIFF, FLAC or CAF file.</source>
        <translation>“%1”, Dictaro’nun açabileceği bir ses dosyası değil. MP3, M4A, AAC, WAV, AIFF, FLAC veya CAF dosyası seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/AudioFileCheck.cpp" line="23"/>
        <source>You don&apos;t have permission to read “%1”.</source>
        <translation>“%1” dosyasını okuma izniniz yok.</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="41"/>
        <source>Pedal</source>
        <translation>Pedal</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="63"/>
        <location filename="../src/app/DictaroApp.cpp" line="71"/>
        <location filename="../src/app/views/MainWindow.cpp" line="32"/>
        <location filename="../src/app/views/MainWindow.cpp" line="192"/>
        <location filename="../src/app/views/WelcomeView.cpp" line="129"/>
        <source>Dictaro</source>
        <translation>Dictaro</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="72"/>
        <source>Dictaro is already running.</source>
        <translation>Dictaro zaten çalışıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="58"/>
        <source>File</source>
        <translation>Dosya</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="31"/>
        <location filename="../src/app/KeyBindings.cpp" line="90"/>
        <source>Save</source>
        <translation>Kaydet</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="36"/>
        <location filename="../src/app/KeyBindings.cpp" line="93"/>
        <source>Settings…</source>
        <translation>Ayarlar…</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="40"/>
        <location filename="../src/app/KeyBindings.cpp" line="94"/>
        <source>Quit</source>
        <translation>Çık</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="68"/>
        <source>Playback</source>
        <translation>Oynatma</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="42"/>
        <location filename="../src/app/PlaybackCommand.cpp" line="40"/>
        <source>Play/Pause</source>
        <translation>Oynat/Duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="44"/>
        <location filename="../src/app/PlaybackCommand.cpp" line="41"/>
        <source>Skip Back</source>
        <translation>Geri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="48"/>
        <location filename="../src/app/PlaybackCommand.cpp" line="42"/>
        <source>Skip Forward</source>
        <translation>İleri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="54"/>
        <location filename="../src/app/PlaybackCommand.cpp" line="43"/>
        <source>Slower</source>
        <translation>Daha Yavaş</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="58"/>
        <location filename="../src/app/PlaybackCommand.cpp" line="44"/>
        <source>Faster</source>
        <translation>Daha Hızlı</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="62"/>
        <location filename="../src/app/PlaybackCommand.cpp" line="45"/>
        <source>Insert Timestamp</source>
        <translation>Zaman Damgası Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="104"/>
        <source>View</source>
        <translation>Görünüm</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="106"/>
        <source>Full Screen</source>
        <translation>Tam Ekran</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="111"/>
        <source>Show Waveform</source>
        <translation>Dalga Biçimini Göster</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="118"/>
        <source>Zoom In</source>
        <translation>Yakınlaştır</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="121"/>
        <source>Zoom Out</source>
        <translation>Uzaklaştır</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="123"/>
        <source>Actual Size</source>
        <translation>Gerçek Boyut</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="126"/>
        <source>Help</source>
        <translation>Yardım</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="127"/>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="51"/>
        <source>Keyboard Shortcuts</source>
        <translation>Klavye Kısayolları</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="145"/>
        <source>About Qt</source>
        <translation>Qt Hakkında</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="193"/>
        <source>Your latest changes could not be saved.</source>
        <translation>Son değişiklikleriniz kaydedilemedi.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="195"/>
        <source>If you quit now, they will be lost. Stay to keep them and try saving again.</source>
        <translation>Şimdi çıkarsanız bu değişiklikler kaybolacak. Onları korumak için çıkmayın ve yeniden kaydetmeyi deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="198"/>
        <source>Quit Without Saving</source>
        <translation>Kaydetmeden Çık</translation>
    </message>
    <message>
        <location filename="../src/app/views/MainWindow.cpp" line="199"/>
        <source>Don&apos;t Quit</source>
        <translation>Çıkma</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="135"/>
        <source>Auto-rewind on pause</source>
        <translation>Duraklatınca otomatik geri sar</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="137"/>
        <source>Skip amount</source>
        <translation>Atlama miktarı</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="192"/>
        <source>%.0f seconds</source>
        <translatorcomment>A printf format: keep %.0f exactly once; it may move.</translatorcomment>
        <translation>%.0f saniye</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="141"/>
        <source>Language</source>
        <translation>Dil</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="105"/>
        <source>System</source>
        <translation>Sistem</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsView.cpp" line="144"/>
        <source>Language changes take effect after restarting the app.</source>
        <translation>Dil değişiklikleri uygulama yeniden başlatıldıktan sonra geçerli olur.</translation>
    </message>
    <message>
        <location filename="../src/app/TranscriptionSession.cpp" line="115"/>
        <source>Autosave failed. Your text is kept in memory; saving will be retried.</source>
        <translation>Otomatik kaydetme başarısız oldu. Metniniz bellekte tutuluyor; kaydetme yeniden denenecek.</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="45"/>
        <source>Plain Text</source>
        <translation>Düz Metin</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="65"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="66"/>
        <source>Export failed</source>
        <translation>Dışa aktarılamadı</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="77"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="80"/>
        <source>Export Transcript</source>
        <translation>Metni Dışa Aktar</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="84"/>
        <source>Format</source>
        <translation>Biçim</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="85"/>
        <source>Plain Text (.txt)</source>
        <translation>Düz Metin (.txt)</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="87"/>
        <source>Markdown (.md)</source>
        <translation>Markdown (.md)</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="103"/>
        <source>Include timestamps</source>
        <translation>Zaman damgalarını ekle</translation>
    </message>
    <message>
        <location filename="../src/app/views/ExportSheet.cpp" line="107"/>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <location filename="../src/app/AppActions.cpp" line="34"/>
        <location filename="../src/app/KeyBindings.cpp" line="91"/>
        <location filename="../src/app/views/ExportSheet.cpp" line="110"/>
        <source>Export…</source>
        <translation>Dışa Aktar…</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="102"/>
        <source>Playback position</source>
        <translation>Oynatma konumu</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="173"/>
        <source>Elapsed %1</source>
        <translation>Geçen süre %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="186"/>
        <source>Duration %1</source>
        <translation>Süre %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/PlayerBarView.cpp" line="200"/>
        <source>Playback speed %1×</source>
        <translation>Oynatma hızı %1×</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsWindow.cpp" line="19"/>
        <source>Settings</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <location filename="../src/app/views/SettingsWindow.cpp" line="32"/>
        <source>General</source>
        <translation>Genel</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="69"/>
        <source>Back</source>
        <translation>Geri</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="95"/>
        <source>Locate File…</source>
        <translation>Dosyayı Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="102"/>
        <source>Transcript</source>
        <translation>Döküm</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="104"/>
        <source>The text you type. Escape plays and pauses the recording.</source>
        <translation>Yazdığınız metin. Escape kaydı oynatır ve duraklatır.</translation>
    </message>
    <message>
        <location filename="../src/app/views/TranscriptionView.cpp" line="130"/>
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
        <location filename="../src/app/views/WelcomeView.cpp" line="167"/>
        <source>Recent Projects</source>
        <translation>Son Projeler</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="200"/>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="96"/>
        <source>New</source>
        <translation>Yeni</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="97"/>
        <location filename="../src/app/views/WelcomeView.cpp" line="203"/>
        <source>Open</source>
        <translation>Aç</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="98"/>
        <source>Print</source>
        <translation>Yazdır</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="163"/>
        <source>%1 is needed for typing. Choose a key with Ctrl or Alt, or a function key.</source>
        <translation>%1 yazmak için gerekli. Ctrl veya Alt ile bir tuş ya da bir işlev tuşu seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="168"/>
        <location filename="../src/app/KeyBindings.cpp" line="177"/>
        <source>%1 is already the key for %2.</source>
        <translation>%1 zaten %2 için kullanılıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="175"/>
        <source>%1 is needed for moving through and editing the text.</source>
        <translation>%1 metinde gezinmek ve düzenlemek için gerekli.</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="209"/>
        <source>Discard</source>
        <translation>At</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="246"/>
        <source>Recovered text from %1, %2</source>
        <translation>%1 projesinden kurtarılan metin, %2</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="269"/>
        <source>Audio Files</source>
        <translation>Ses Dosyaları</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="362"/>
        <source>Audio file: %1</source>
        <translation>Ses dosyası: %1</translation>
    </message>
    <message>
        <location filename="../src/app/views/WelcomeView.cpp" line="390"/>
        <source>Delete Project</source>
        <translation>Projeyi Sil</translation>
    </message>
    <message>
        <location filename="../src/app/DictaroApp.cpp" line="64"/>
        <source>Dictaro can&apos;t find a folder for its projects in your home folder, so it can&apos;t keep your work. It will quit now.</source>
        <translation>Dictaro, ana klasörünüzde projeleri için bir klasör bulamıyor; bu yüzden çalışmanızı saklayamaz. Uygulama şimdi kapanacak.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="18"/>
        <location filename="../src/app/views/AboutBox.cpp" line="16"/>
        <source>Transcribe recorded speech by hand.</source>
        <translation>Kaydedilmiş konuşmayı elle yazıya dökün.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="22"/>
        <source>An audio file to open as a project.</source>
        <translation>Proje olarak açılacak bir ses dosyası.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="30"/>
        <source>Try “dictaro --help”.</source>
        <translation>“dictaro --help” komutunu deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="47"/>
        <source>Only one file can be opened at a time.</source>
        <translation>Aynı anda yalnızca bir dosya açılabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/CommandLine.cpp" line="57"/>
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
        <location filename="../src/app/views/AboutBox.cpp" line="35"/>
        <location filename="../src/app/views/MainWindow.cpp" line="142"/>
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
        <location filename="../src/app/DictaroApp.cpp" line="43"/>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="59"/>
        <source>Keys</source>
        <translation>Tuşlar</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="95"/>
        <location filename="../src/app/views/ShortcutsWindow.cpp" line="69"/>
        <source>Close</source>
        <translation>Kapat</translation>
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
        <location filename="../src/app/EditCommands.cpp" line="226"/>
        <source>Add to Dictionary</source>
        <translation>Sözlüğe Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="51"/>
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
        <location filename="../src/app/KeyBindings.cpp" line="83"/>
        <location filename="../src/app/EditCommands.cpp" line="33"/>
        <source>Copy</source>
        <translation>Kopyala</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="82"/>
        <location filename="../src/app/EditCommands.cpp" line="32"/>
        <source>Cut</source>
        <translation>Kes</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="35"/>
        <source>Delete</source>
        <translation>Sil</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="78"/>
        <source>Done</source>
        <translation>Bitti</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="150"/>
        <source>Edit</source>
        <translation>Düzen</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="88"/>
        <location filename="../src/app/EditCommands.cpp" line="41"/>
        <source>Find Next</source>
        <translation>Sonrakini Bul</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="45"/>
        <source>Find Previous</source>
        <translation>Öncekini Bul</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="86"/>
        <location filename="../src/app/views/FindBar.cpp" line="50"/>
        <source>Find</source>
        <translation>Bul</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="39"/>
        <source>Find…</source>
        <translation>Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="228"/>
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
        <location filename="../src/app/EditCommands.cpp" line="172"/>
        <source>No Dictionaries Installed</source>
        <translation>Yüklü Sözlük Yok</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="173"/>
        <source>No Dictionary for %1</source>
        <translation>%1 İçin Sözlük Yok</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="224"/>
        <source>No Suggestions</source>
        <translation>Öneri Yok</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="340"/>
        <source>Not found</source>
        <translation>Bulunamadı</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="84"/>
        <location filename="../src/app/EditCommands.cpp" line="34"/>
        <source>Paste</source>
        <translation>Yapıştır</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="59"/>
        <source>Previous (%1)</source>
        <translation>Önceki (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="81"/>
        <location filename="../src/app/EditCommands.cpp" line="29"/>
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
        <location filename="../src/app/KeyBindings.cpp" line="89"/>
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
        <location filename="../src/app/EditCommands.cpp" line="48"/>
        <source>Replace…</source>
        <translation>Değiştir…</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="85"/>
        <location filename="../src/app/EditCommands.cpp" line="37"/>
        <source>Select All</source>
        <translation>Tümünü Seç</translation>
    </message>
    <message>
        <location filename="../src/app/EditCommands.cpp" line="157"/>
        <location filename="../src/app/views/SettingsView.cpp" line="139"/>
        <source>Spelling</source>
        <translation>Yazım</translation>
    </message>
    <message>
        <location filename="../src/app/KeyBindings.cpp" line="80"/>
        <location filename="../src/app/EditCommands.cpp" line="26"/>
        <source>Undo</source>
        <translation>Geri Al</translation>
    </message>
    <message>
        <location filename="../src/app/views/FindBar.cpp" line="69"/>
        <source>Whole Words</source>
        <translation>Tam Sözcükler</translation>
    </message>
    <message>
        <location filename="../src/app/AppState.cpp" line="107"/>
        <source>This project can&apos;t be opened. Its file may have been deleted or damaged.</source>
        <translation>Bu proje açılamıyor. Dosyası silinmiş ya da bozulmuş olabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/views/KeySettingsView.cpp" line="46"/>
        <source>Click a field and press the new key. Pedals that type keys work through these keys too.</source>
        <translation>Bir alana tıklayıp yeni tuşa basın. Tuş gönderen pedallar da bu tuşlarla çalışır.</translation>
    </message>
    <message>
        <location filename="../src/app/views/KeySettingsView.cpp" line="53"/>
        <source>Restore Defaults</source>
        <translation>Varsayılanları Geri Yükle</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="23"/>
        <source>Left</source>
        <translation>Sol</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="24"/>
        <source>Middle</source>
        <translation>Orta</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="25"/>
        <source>Right</source>
        <translation>Sağ</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="63"/>
        <source>Nothing</source>
        <translation>Hiçbir şey</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="78"/>
        <source>Hold to play, release to pause</source>
        <translation>Basılı tutunca oynat, bırakınca duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="80"/>
        <source>Press to play, press again to pause</source>
        <translation>Basınca oynat, yeniden basınca duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="97"/>
        <source>Device</source>
        <translation>Aygıt</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="103"/>
        <source>Play/Pause button</source>
        <translation>Oynat/Duraklat düğmesi</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="105"/>
        <source>Buttons</source>
        <translation>Düğmeler</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="141"/>
        <source>A foot pedal</source>
        <translation>Bir ayak pedalı</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="145"/>
        <source>%1 is connected.</source>
        <translation>%1 bağlı.</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="148"/>
        <source>No foot pedal is connected.</source>
        <translation>Bağlı bir ayak pedalı yok.</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="149"/>
        <source>Plug it in: Dictaro finds it at once. If your pedal is not found, pick it from the list below.</source>
        <translation>Pedalı takın: Dictaro onu hemen bulur. Pedalınız bulunmazsa aşağıdaki listeden seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="155"/>
        <source>%1 is connected, but Dictaro may not read it.</source>
        <translation>%1 bağlı, ancak Dictaro onu okuma iznine sahip değil.</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="156"/>
        <source>To allow it, run these commands once in a terminal, then unplug the pedal and plug it in again:</source>
        <translation>İzin vermek için bu komutları bir terminalde bir kez çalıştırın, sonra pedalı çıkarıp yeniden takın:</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="163"/>
        <source>Dictaro cannot list the devices of this computer.</source>
        <translation>Dictaro bu bilgisayarın aygıtlarını listeleyemiyor.</translation>
    </message>
    <message>
        <location filename="../src/app/views/PedalSettingsView.cpp" line="183"/>
        <source>Known pedals</source>
        <translation>Bilinen pedallar</translation>
    </message>
    <message>
        <location filename="../src/app/views/WaveformStrip.cpp" line="68"/>
        <source>Waveform</source>
        <translation>Dalga biçimi</translation>
    </message>
    <message>
        <location filename="../src/app/views/WaveformStrip.cpp" line="73"/>
        <source>Zoom In (Ctrl+Wheel)</source>
        <translation>Yakınlaştır (Ctrl+Tekerlek)</translation>
    </message>
    <message>
        <location filename="../src/app/views/WaveformStrip.cpp" line="76"/>
        <source>Zoom Out (Ctrl+Wheel)</source>
        <translation>Uzaklaştır (Ctrl+Tekerlek)</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <location filename="../src/app/Localization.cpp" line="73"/>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
</context>
</TS>
