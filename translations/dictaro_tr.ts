<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr" sourcelanguage="en">
<context>
    <name>Dictaro</name>
    <message>
        <location filename="../src/app/playback/PlaybackEngine.cpp" line="217"/>
        <source>This video has no sound.</source>
        <translation>Bu videonun sesi yok.</translation>
    </message>
    <message>
        <location filename="../src/app/playback/PlaybackEngine.cpp" line="240"/>
        <source>This file can&apos;t be played. Use MP3, M4A, WAV, AIFF or FLAC.</source>
        <translation>Bu dosya oynatılamıyor. MP3, M4A, WAV, AIFF veya FLAC kullanın.</translation>
    </message>
    <message>
        <location filename="../src/app/playback/PlaybackEngine.cpp" line="288"/>
        <source>The sound of this file ends at %1, before its stated length of %2. The file may be incomplete or damaged.</source>
        <translation>Bu dosyanın sesi, belirtilen %2 uzunluğundan önce %1 noktasında bitiyor. Dosya eksik ya da bozuk olabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/playback/PlaybackEngine.cpp" line="300"/>
        <source>No sound device could be opened, so the recording plays without sound. Check the sound settings, then open the project again.</source>
        <translation>Hiçbir ses aygıtı açılamadı, bu yüzden kayıt sessiz çalıyor. Ses ayarlarını denetleyin, sonra projeyi yeniden açın.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/TranscriptFile.cpp" line="19"/>
        <location filename="../src/app/session/AudioFileCheck.cpp" line="29"/>
        <source>“%1” could not be found.</source>
        <translation>“%1” bulunamadı.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/TranscriptFile.cpp" line="21"/>
        <location filename="../src/app/session/AudioFileCheck.cpp" line="31"/>
        <source>“%1” is not a file.</source>
        <translation>“%1” bir dosya değil.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/TranscriptFile.cpp" line="27"/>
        <location filename="../src/app/session/AudioFileCheck.cpp" line="35"/>
        <source>You don&apos;t have permission to read “%1”.</source>
        <translation>“%1” dosyasını okuma izniniz yok.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="98"/>
        <source>Pedal</source>
        <translation>Pedal</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="102"/>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="27"/>
        <source>Snippets</source>
        <translation>Kısaltmalar</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="109"/>
        <source>Draft</source>
        <translation>Taslak</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="136"/>
        <location filename="../src/app/shell/DictaroApp.cpp" line="144"/>
        <location filename="../src/app/shell/DictaroApp.cpp" line="150"/>
        <location filename="../src/app/shell/DictaroApp.cpp" line="211"/>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="37"/>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="220"/>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="244"/>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="138"/>
        <source>Dictaro</source>
        <translation>Dictaro</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="145"/>
        <source>Dictaro is already running.</source>
        <translation>Dictaro zaten çalışıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="151"/>
        <source>Dictaro can&apos;t make sure that it is the only Dictaro working on your projects, so it will quit now to keep them safe.</source>
        <translation>Dictaro, projeleriniz üzerinde çalışan tek Dictaro olduğundan emin olamıyor; onları korumak için şimdi kapanacak.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="212"/>
        <source>Dictaro is quitting and could not save your latest changes or keep a copy of them anywhere.</source>
        <translation>Dictaro kapanıyor; son değişikliklerinizi kaydedemedi ve hiçbir yerde kopyalarını da saklayamadı.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="31"/>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="66"/>
        <source>Make Draft</source>
        <translation>Taslak Oluştur</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ShortcutsWindow.cpp" line="32"/>
        <source>Keyboard Shortcuts</source>
        <translation>Klavye Kısayolları</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="94"/>
        <source>C&amp;hannels and Filter</source>
        <translation>Kanallar ve &amp;Filtre</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="219"/>
        <source>%1 — Dictaro</source>
        <translation>%1 — Dictaro</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="245"/>
        <source>Your latest changes could not be saved.</source>
        <translation>Son değişiklikleriniz kaydedilemedi.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="247"/>
        <source>If you quit now, they will be lost. Stay to keep them and try saving again.</source>
        <translation>Şimdi çıkarsanız bu değişiklikler kaybolacak. Onları korumak için çıkmayın ve yeniden kaydetmeyi deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="250"/>
        <source>Quit Without Saving</source>
        <translation>Kaydetmeden Çık</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/MainWindow.cpp" line="251"/>
        <source>Don&apos;t Quit</source>
        <translation>Çıkma</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="107"/>
        <source>Rewind more or less with the playback speed</source>
        <translation>Geri sarma oynatma hızına göre artsın ya da azalsın</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="111"/>
        <source>Timestamps after a pause: where playback stopped</source>
        <translation>Duraklatmadan sonraki zaman damgası: oynatmanın durduğu yer</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="149"/>
        <source>Start speaker lines with a timestamp</source>
        <translation>Konuşmacı satırlarını zaman damgasıyla başlat</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="153"/>
        <source>Auto-rewind on pause</source>
        <translation>Duraklatınca otomatik geri sar</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="155"/>
        <source>Skip amount</source>
        <translation>Atlama miktarı</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="157"/>
        <source>Replay amount</source>
        <translation>Yeniden oynatma miktarı</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="229"/>
        <source>%.0f seconds</source>
        <translatorcomment>A printf format: keep %.0f exactly once; it may move.</translatorcomment>
        <translation>%.0f saniye</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="43"/>
        <source>Fastest and least accurate: expect many mistakes to correct.</source>
        <translation>En hızlısı ve en az doğru olanı: düzeltilecek çok hata bekleyin.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="46"/>
        <source>Fast, with fair accuracy: a good start for clear recordings.</source>
        <translation>Hızlı ve makul ölçüde doğru: net kayıtlar için iyi bir başlangıç.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="49"/>
        <source>Slowest and most accurate of these: fewer mistakes, but several times longer than base.</source>
        <translation>Bunların en yavaşı ve en doğrusu: daha az hata, ama base modelinden birkaç kat uzun sürer.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="54"/>
        <source>English only, a little more accurate on English.</source>
        <translation>Yalnızca İngilizce; İngilizcede biraz daha doğru.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="55"/>
        <source>Many languages, Turkish among them.</source>
        <translation>Türkçe dahil birçok dil.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="59"/>
        <source>Compressed (8-bit): just over half the size, a little faster, almost as accurate.</source>
        <translation>Sıkıştırılmış (8 bit): boyutu yarıdan biraz fazla, biraz daha hızlı, doğruluğu neredeyse aynı.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="63"/>
        <source>Compressed (5-bit): about two fifths of the size, a little faster, a little less accurate.</source>
        <translation>Sıkıştırılmış (5 bit): boyutu yaklaşık beşte iki, biraz daha hızlı, biraz daha az doğru.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="72"/>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="147"/>
        <source>Turkish</source>
        <translation>Türkçe</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="72"/>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="146"/>
        <source>English</source>
        <translation>İngilizce</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="90"/>
        <source>Speech model</source>
        <translation>Konuşma modeli</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="119"/>
        <source>Models are downloaded from huggingface.co only when you ask, and checked against their published checksums. Drafting runs on this computer: nothing is sent anywhere.</source>
        <translation>Modeller yalnızca siz istediğinizde huggingface.co adresinden indirilir ve yayımlanmış sağlama toplamlarıyla denetlenir. Taslak bu bilgisayarda hazırlanır: hiçbir yere bir şey gönderilmez.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="128"/>
        <source>Use a Model File…</source>
        <translation>Model Dosyası Kullan…</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="139"/>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="161"/>
        <source>Language</source>
        <translation>Dil</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="143"/>
        <source>The interface&apos;s language (%1)</source>
        <translation>Arayüzün dili (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="148"/>
        <source>Detect from the speech</source>
        <translation>Konuşmadan algıla</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="155"/>
        <source>An English-only model always writes English; detecting the language needs a model of many languages.</source>
        <translation>Yalnızca İngilizce bir model her zaman İngilizce yazar; dili algılamak için çok dilli bir model gerekir.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="163"/>
        <source>While correcting</source>
        <translation>Düzeltirken</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="165"/>
        <source>Mark unsure words</source>
        <translation>Emin olunmayan sözcükleri işaretle</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="171"/>
        <source>Follow the spoken word while playing</source>
        <translation>Çalarken söylenen sözcüğü izle</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="227"/>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="287"/>
        <source>Download</source>
        <translation>İndir</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="229"/>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="292"/>
        <source>Use</source>
        <translation>Kullan</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="231"/>
        <source>Download %1</source>
        <translation>%1 modelini indir</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="232"/>
        <source>Cancel the download of %1</source>
        <translation>%1 indirmesini iptal et</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="233"/>
        <source>Use %1</source>
        <translation>%1 modelini kullan</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="234"/>
        <source>Delete %1</source>
        <translation>%1 modelini sil</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="287"/>
        <source>Resume</source>
        <translation>Sürdür</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="292"/>
        <source>In Use</source>
        <translation>Kullanımda</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="307"/>
        <source>%1 of %2 downloaded.</source>
        <translation>%1 / %2 indirildi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="311"/>
        <source>Downloading: %1 of %2.</source>
        <translation>İndiriliyor: %1 / %2.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="314"/>
        <source>Checking the download…</source>
        <translation>İndirme denetleniyor…</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="316"/>
        <source>Downloaded, in use.</source>
        <translation>İndirildi, kullanımda.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="316"/>
        <source>Downloaded.</source>
        <translation>İndirildi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="329"/>
        <source>No model is chosen yet: download one below, or use a model file of your own.</source>
        <translation>Henüz bir model seçilmedi: aşağıdan birini indirin ya da kendi model dosyanızı kullanın.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="333"/>
        <source>In use: %1.</source>
        <translation>Kullanımda: %1.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="334"/>
        <source>The model in use, %1, is not downloaded.</source>
        <translation>Kullanımdaki model (%1) indirilmemiş.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="340"/>
        <source>In use: your model file %1.</source>
        <translation>Kullanımda: kendi model dosyanız, %1.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="341"/>
        <source>The model file in use is missing: %1.</source>
        <translation>Kullanımdaki model dosyası bulunamıyor: %1.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="365"/>
        <source>Dictaro can&apos;t read “%1”: %2.</source>
        <translation>Dictaro “%1” dosyasını okuyamıyor: %2.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="369"/>
        <source>“%1” is not a speech model file. Choose a model in the ggml format, such as ggml-base.en.bin.</source>
        <translation>“%1” bir konuşma modeli dosyası değil. ggml biçiminde bir model seçin, örneğin ggml-base.en.bin.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="385"/>
        <source>Use a Model File</source>
        <translation>Model Dosyası Kullan</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="387"/>
        <source>Speech models (*.bin);;All files (*)</source>
        <translation>Konuşma modelleri (*.bin);;Tüm dosyalar (*)</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="118"/>
        <source>System</source>
        <translation>Sistem</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="164"/>
        <source>Language changes take effect after restarting the app.</source>
        <translation>Dil değişiklikleri uygulama yeniden başlatıldıktan sonra geçerli olur.</translation>
    </message>
    <message>
        <location filename="../src/app/session/TranscriptionSession.cpp" line="278"/>
        <source>Autosave failed. Your text is kept in memory; saving will be retried.</source>
        <translation>Otomatik kaydetme başarısız oldu. Metniniz bellekte tutuluyor; kaydetme yeniden denenecek.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="209"/>
        <source>Plain Text</source>
        <translation>Düz Metin</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="61"/>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="62"/>
        <source>Export failed</source>
        <translation>Dışa aktarılamadı</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="75"/>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="90"/>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="120"/>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="123"/>
        <source>Export Transcript</source>
        <translation>Metni Dışa Aktar</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="76"/>
        <source>The folder “%1” does not exist.</source>
        <translation>“%1” klasörü yok.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="78"/>
        <source>Dictaro can create it and save the export there.</source>
        <translation>Dictaro klasörü oluşturup dışa aktarılan dosyayı oraya kaydedebilir.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="79"/>
        <source>Create Folder</source>
        <translation>Klasör Oluştur</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="81"/>
        <source>Choose Another Place</source>
        <translation>Başka Bir Yer Seç</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="91"/>
        <source>The folder “%1” could not be created.</source>
        <translation>“%1” klasörü oluşturulamadı.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="93"/>
        <source>Choose another place for the export.</source>
        <translation>Dışa aktarılacak dosya için başka bir yer seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="127"/>
        <source>Format</source>
        <translation>Biçim</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="211"/>
        <source>SubRip Captions</source>
        <translation>SubRip Altyazıları</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="212"/>
        <source>WebVTT Captions</source>
        <translation>WebVTT Altyazıları</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="213"/>
        <source>Word Document</source>
        <translation>Word Belgesi</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="214"/>
        <source>OpenDocument Text</source>
        <translation>OpenDocument Metni</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="152"/>
        <source>Include timestamps</source>
        <translation>Zaman damgalarını ekle</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="26"/>
        <source>Draft progress</source>
        <translation>Taslak ilerlemesi</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="31"/>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="228"/>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="67"/>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="164"/>
        <location filename="../src/app/shell/views/GoToTimeDialog.cpp" line="43"/>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="33"/>
        <source>Stop drafting and keep what is drafted so far</source>
        <translation>Taslağı durdur ve şimdiye kadar yazılanı koru</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="65"/>
        <source>Drafting… %1 of %2</source>
        <translation>Taslak hazırlanıyor… %1 / %2</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="70"/>
        <source>%1, less than a minute left</source>
        <translation>%1, bir dakikadan az kaldı</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="71"/>
        <source>%1, about %2 min left</source>
        <translation>%1, yaklaşık %2 dk kaldı</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="92"/>
        <source>Drafting stopped: %1</source>
        <translation>Taslak durdu: %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ExportSheet.cpp" line="167"/>
        <source>Export…</source>
        <translation>Dışa Aktar…</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="103"/>
        <source>Playback position</source>
        <translation>Oynatma konumu</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="142"/>
        <source>Volume</source>
        <translation>Ses düzeyi</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="214"/>
        <source>Elapsed %1</source>
        <translation>Geçen süre %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="239"/>
        <source>Duration %1</source>
        <translation>Süre %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="255"/>
        <source>Loop %1–%2</source>
        <translation>Döngü %1–%2</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="266"/>
        <source>Playback speed %1×</source>
        <translation>Oynatma hızı %1×</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="279"/>
        <source>Volume %1</source>
        <translation>Ses düzeyi %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsWindow.cpp" line="21"/>
        <source>Settings</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsWindow.cpp" line="33"/>
        <source>General</source>
        <translation>Genel</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="120"/>
        <source>Back</source>
        <translation>Geri</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="146"/>
        <source>Locate File…</source>
        <translation>Dosyayı Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="452"/>
        <source>%1 — Video</source>
        <translation>%1 — Video</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="65"/>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="159"/>
        <source>Transcript</source>
        <translation>Döküm</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="99"/>
        <source>Unexpected argument “%1”.</source>
        <translation>Beklenmeyen argüman “%1”.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="103"/>
        <source>Give a format: --format srt, vtt, docx, odt, txt or md.</source>
        <translation>Bir biçim verin: --format srt, vtt, docx, odt, txt veya md.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="105"/>
        <source>Give either --project NAME-or-ID or --all.</source>
        <translation>Ya --project AD-veya-KİMLİK ya da --all verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="107"/>
        <source>Give where to write with -o PATH.</source>
        <translation>Nereye yazılacağını -o YOL ile verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="121"/>
        <source>There is no project named “%1”.</source>
        <translation>“%1” adında bir proje yok.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="123"/>
        <source>Several projects are named “%1”: give the id of the one to export.</source>
        <translation>Birden çok proje “%1” adını taşıyor: dışa aktarılacak olanın kimliğini verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="128"/>
        <source>The folder “%1” can&apos;t be made.</source>
        <translation>“%1” klasörü oluşturulamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="141"/>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="289"/>
        <source>“%1” could not be written: %2</source>
        <translation>“%1” yazılamadı: %2</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="179"/>
        <source>Give one transcript file to import.</source>
        <translation>İçe aktarılacak tek bir döküm dosyası verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="181"/>
        <source>Give its recording with --audio AUDIO.</source>
        <translation>Kaydını --audio SES ile verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="162"/>
        <source>The project could not be saved: %1</source>
        <translation>Proje kaydedilemedi: %1</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="205"/>
        <source>%1% drafted</source>
        <translation>%%1 taslağa döküldü</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="229"/>
        <source>Give one recording to draft.</source>
        <translation>Taslağı çıkarılacak tek bir kayıt verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="231"/>
        <source>Give the speech model with --model FILE.</source>
        <translation>Konuşma modelini --model DOSYA ile verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="233"/>
        <source>Give either -o PATH or --project.</source>
        <translation>Ya -o YOL ya da --project verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="240"/>
        <source>Name the output .srt, .vtt, .txt, .md, .docx or .odt.</source>
        <translation>Çıktıya .srt, .vtt, .txt, .md, .docx veya .odt uzantılı bir ad verin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="244"/>
        <source>This build of Dictaro has no speech recogniser.</source>
        <translation>Dictaro&apos;nun bu derlemesinde konuşma tanıyıcı yok.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="276"/>
        <source>The speech model could not draft “%1”.</source>
        <translation>Konuşma modeli “%1” için taslak çıkaramadı.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="277"/>
        <source>The speech model could not draft “%1” in the language “%2”.</source>
        <translation>Konuşma modeli “%1” için “%2” dilinde taslak çıkaramadı.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/BatchCommands.cpp" line="345"/>
        <source>Commands without a window:
  dictaro export --format srt|vtt|docx|odt|txt|md [--no-timestamps]
                 (--project NAME-or-ID | --all) -o PATH
      Writes the transcript of a stored project, or of every one into the folder PATH.
  dictaro import TRANSCRIPT --audio AUDIO [--name NAME]
      Makes a project of a recording and its transcript (SubRip, WebVTT, text or Markdown) and prints its id.
  dictaro draft AUDIO --model FILE [--language CODE]
                (-o OUT.srt|.vtt|.txt | --project [--name NAME])
      Drafts a transcript of a recording with a speech model on this computer, into a file or a new project (it prints its id).</source>
        <translation>Pencere açmadan çalışan komutlar:
  dictaro export --format srt|vtt|docx|odt|txt|md [--no-timestamps]
                 (--project AD-veya-KİMLİK | --all) -o YOL
      Kayıtlı bir projenin dökümünü, ya da hepsininkini YOL klasörüne yazar.
  dictaro import DÖKÜM --audio SES [--name AD]
      Bir kayıt ve dökümünden (SubRip, WebVTT, metin veya Markdown) bir proje oluşturur ve kimliğini yazar.
  dictaro draft SES --model DOSYA [--language KOD]
                (-o ÇIKTI.srt|.vtt|.txt | --project [--name AD])
      Bir kaydın döküm taslağını bu bilgisayardaki bir konuşma modeliyle çıkarır; bir dosyaya ya da yeni bir projeye yazar (projenin kimliğini yazar).</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="161"/>
        <source>The text you type. Escape plays and pauses the recording.</source>
        <translation>Yazdığınız metin. Escape kaydı oynatır ve duraklatır.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="224"/>
        <source>Audio file not found. It may have been moved or deleted.</source>
        <translation>Ses dosyası bulunamadı. Taşınmış ya da silinmiş olabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="143"/>
        <source>Transcribe audio by hand, fast.</source>
        <translation>Sesi elle ve hızlıca yazıya dökün.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="150"/>
        <source>Open Audio File…</source>
        <translation>Ses Dosyası Aç…</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="169"/>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="176"/>
        <source>Recent Projects</source>
        <translation>Son Projeler</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="268"/>
        <source>Audio and Video Files</source>
        <translation>Ses ve Video Dosyaları</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftBar.cpp" line="34"/>
        <location filename="../src/app/shell/views/TranscriptionView.cpp" line="152"/>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="209"/>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="71"/>
        <source>New</source>
        <translation>Yeni</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="73"/>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="212"/>
        <source>Open</source>
        <translation>Aç</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="75"/>
        <source>Print</source>
        <translation>Yazdır</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="98"/>
        <source>%1 is needed for typing. Choose a key with Ctrl or Alt, or a function key.</source>
        <translation>%1 yazmak için gerekli. Ctrl veya Alt ile bir tuş ya da bir işlev tuşu seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="106"/>
        <source>%1 opens the %2 menu.</source>
        <translation>%1, %2 menüsünü açar.</translation>
    </message>
    <message>
        <location filename="../src/app/commands/CommandRegistry.cpp" line="103"/>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="108"/>
        <source>%1 is already the key for %2.</source>
        <translation>%1 zaten %2 için kullanılıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/commands/CommandRegistry.cpp" line="135"/>
        <source>Your keys could not be saved. They work until Dictaro quits.</source>
        <translation>Tuşlarınız kaydedilemedi. Dictaro kapanana kadar çalışırlar.</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="103"/>
        <source>%1 is needed for moving through and editing the text.</source>
        <translation>%1 metinde gezinmek ve düzenlemek için gerekli.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="218"/>
        <source>Discard</source>
        <translation>At</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="258"/>
        <source>Recovered text from %1, %2</source>
        <translation>%1 projesinden kurtarılan metin, %2</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="361"/>
        <source>Audio file: %1</source>
        <translation>Ses dosyası: %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/WelcomeView.cpp" line="405"/>
        <source>Delete Project</source>
        <translation>Projeyi Sil</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="137"/>
        <source>Dictaro can&apos;t find a folder for its projects in your home folder, so it can&apos;t keep your work. It will quit now.</source>
        <translation>Dictaro, ana klasörünüzde projeleri için bir klasör bulamıyor; bu yüzden çalışmanızı saklayamaz. Uygulama şimdi kapanacak.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/CommandLine.cpp" line="19"/>
        <location filename="../src/app/shell/views/AboutBox.cpp" line="16"/>
        <source>Transcribe recorded speech by hand.</source>
        <translation>Kaydedilmiş konuşmayı elle yazıya dökün.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/CommandLine.cpp" line="24"/>
        <source>An audio file to open as a project.</source>
        <translation>Proje olarak açılacak bir ses dosyası.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/CommandLine.cpp" line="32"/>
        <source>Try “dictaro --help”.</source>
        <translation>“dictaro --help” komutunu deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/CommandLine.cpp" line="49"/>
        <source>Only one file can be opened at a time.</source>
        <translation>Aynı anda yalnızca bir dosya açılabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/CommandLine.cpp" line="59"/>
        <source>“%1” is not a local file.</source>
        <translation>“%1” yerel bir dosya değil.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/AboutBox.cpp" line="17"/>
        <source>Licensed under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later).</source>
        <translation>GNU Genel Kamu Lisansı’nın 3. sürümü veya daha sonraki herhangi bir sürümü (GPL-3.0-or-later) kapsamında lisanslanmıştır.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/AboutBox.cpp" line="20"/>
        <source>Built on Qt %1 and %2.</source>
        <translation>Qt %1 ve %2 üzerine kurulmuştur.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/AboutBox.cpp" line="35"/>
        <source>About Dictaro</source>
        <translation>Dictaro Hakkında</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ShortcutsWindow.cpp" line="36"/>
        <source>Keyboard shortcuts</source>
        <translation>Klavye kısayolları</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ShortcutsWindow.cpp" line="38"/>
        <source>Command</source>
        <translation>Komut</translation>
    </message>
    <message>
        <location filename="../src/app/shell/DictaroApp.cpp" line="101"/>
        <location filename="../src/app/shell/views/ShortcutsWindow.cpp" line="38"/>
        <source>Keys</source>
        <translation>Tuşlar</translation>
    </message>
    <message>
        <location filename="../src/app/commands/ReservedKeys.cpp" line="69"/>
        <location filename="../src/app/shell/views/SettingsWindow.cpp" line="43"/>
        <location filename="../src/app/shell/views/ShortcutsWindow.cpp" line="48"/>
        <source>Close</source>
        <translation>Kapat</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="135"/>
        <source>%1 (no dictionary)</source>
        <translation>%1 (sözlük yok)</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="350"/>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="119"/>
        <source>Add to Dictionary</source>
        <translation>Sözlüğe Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="279"/>
        <source>Continued from the bottom</source>
        <translation>Sondan devam edildi</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="278"/>
        <source>Continued from the top</source>
        <translation>Baştan devam edildi</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftSettingsView.cpp" line="230"/>
        <source>Delete</source>
        <translation>Sil</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="90"/>
        <source>Done</source>
        <translation>Bitti</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="62"/>
        <source>Find</source>
        <translation>Bul</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="121"/>
        <source>Ignore</source>
        <translation>Yok Say</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="79"/>
        <source>Match Case</source>
        <translation>Büyük/Küçük Harf Eşleştir</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="99"/>
        <source>Replace this match and find the next (%1)</source>
        <translation>Bu eşleşmeyi değiştir ve sonrakini bul (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="104"/>
        <source>Replace All (%1)</source>
        <translation>Tümünü Değiştir (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="352"/>
        <source>Matches: %1</source>
        <translation>Eşleşme: %1</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="77"/>
        <source>Next (%1)</source>
        <translation>Sonraki (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="21"/>
        <source>&amp;Check Spelling While Typing</source>
        <translation>&amp;Yazarken Yazımı Denetle</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="30"/>
        <source>&amp;Spelling</source>
        <translation>Ya&amp;zım</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="62"/>
        <source>Loading the Dictionary…</source>
        <translation>Sözlük Yükleniyor…</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="64"/>
        <source>No Dictionaries Installed</source>
        <translation>Yüklü Sözlük Yok</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="65"/>
        <source>No Dictionary for %1</source>
        <translation>%1 İçin Sözlük Yok</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellingMenu.cpp" line="117"/>
        <source>No Suggestions</source>
        <translation>Öneri Yok</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="342"/>
        <source>Not found</source>
        <translation>Bulunamadı</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="71"/>
        <source>Previous (%1)</source>
        <translation>Önceki (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="101"/>
        <source>Replace All</source>
        <translation>Tümünü Değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="95"/>
        <source>Replace with</source>
        <translation>Şununla değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="29"/>
        <source>Transcripts and subtitles (%1)</source>
        <translation>Dökümler ve altyazılar (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="32"/>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="56"/>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="77"/>
        <source>Import Transcript</source>
        <translation>Döküm İçe Aktar</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="33"/>
        <source>All files (*)</source>
        <translation>Tüm dosyalar (*)</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="44"/>
        <source>Choose the Recording of This Transcript</source>
        <translation>Bu Dökümün Kaydını Seçin</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="57"/>
        <source>This project already has a transcript.</source>
        <translation>Bu projenin zaten bir dökümü var.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="59"/>
        <source>Add the imported text after it, or replace it? Either can be undone.</source>
        <translation>İçe aktarılan metin sonuna mı eklensin, yoksa onun yerine mi geçsin? İkisi de geri alınabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="61"/>
        <source>Append</source>
        <translation>Sonuna Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="62"/>
        <location filename="../src/app/text/views/FindBar.cpp" line="97"/>
        <source>Replace</source>
        <translation>Değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/ImportFlow.cpp" line="78"/>
        <source>This transcript can&apos;t be imported.</source>
        <translation>Bu döküm içe aktarılamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="317"/>
        <source>Replaced: %1</source>
        <translation>Değiştirilen: %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SettingsView.cpp" line="159"/>
        <source>Spelling</source>
        <translation>Yazım</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/FindBar.cpp" line="81"/>
        <source>Whole Words</source>
        <translation>Tam Sözcükler</translation>
    </message>
    <message>
        <location filename="../src/app/session/AppState.cpp" line="160"/>
        <source>This project can&apos;t be opened. Its file may have been deleted or damaged.</source>
        <translation>Bu proje açılamıyor. Dosyası silinmiş ya da bozulmuş olabilir.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/KeySettingsView.cpp" line="50"/>
        <source>Click a field and press the new key. Pedals that type keys work through these keys too.</source>
        <translation>Bir alana tıklayıp yeni tuşa basın. Tuş gönderen pedallar da bu tuşlarla çalışır.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/KeySettingsView.cpp" line="57"/>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="34"/>
        <source>Restore Defaults</source>
        <translation>Varsayılanları Geri Yükle</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="23"/>
        <source>Left</source>
        <translation>Sol</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="24"/>
        <source>Middle</source>
        <translation>Orta</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="25"/>
        <source>Right</source>
        <translation>Sağ</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="63"/>
        <source>Nothing</source>
        <translation>Hiçbir şey</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="78"/>
        <source>Hold to play, release to pause</source>
        <translation>Basılı tutunca oynat, bırakınca duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="80"/>
        <source>Press to play, press again to pause</source>
        <translation>Basınca oynat, yeniden basınca duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="97"/>
        <source>Device</source>
        <translation>Aygıt</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="113"/>
        <source>Play/Pause button</source>
        <translation>Oynat/Duraklat düğmesi</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="115"/>
        <source>Buttons</source>
        <translation>Düğmeler</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="152"/>
        <source>A foot pedal</source>
        <translation>Bir ayak pedalı</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="156"/>
        <source>%1 is connected.</source>
        <translation>%1 bağlı.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="159"/>
        <source>No foot pedal is connected.</source>
        <translation>Bağlı bir ayak pedalı yok.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="160"/>
        <source>Plug it in: Dictaro finds it at once. If your pedal is not found, pick it from the list below.</source>
        <translation>Pedalı takın: Dictaro onu hemen bulur. Pedalınız bulunmazsa aşağıdaki listeden seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="166"/>
        <source>%1 is connected, but Dictaro may not read it.</source>
        <translation>%1 bağlı, ancak Dictaro onu okuma iznine sahip değil.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="167"/>
        <source>To allow it, run these commands once in a terminal, then unplug the pedal and plug it in again:</source>
        <translation>İzin vermek için bu komutları bir terminalde bir kez çalıştırın, sonra pedalı çıkarıp yeniden takın:</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="174"/>
        <source>Dictaro cannot list the devices of this computer.</source>
        <translation>Dictaro bu bilgisayarın aygıtlarını listeleyemiyor.</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/views/PedalSettingsView.cpp" line="194"/>
        <source>Known pedals</source>
        <translation>Bilinen pedallar</translation>
    </message>
    <message>
        <location filename="../src/app/waveform/views/WaveformStrip.cpp" line="69"/>
        <source>Waveform</source>
        <translation>Dalga biçimi</translation>
    </message>
    <message>
        <location filename="../src/app/waveform/views/WaveformStrip.cpp" line="74"/>
        <source>Zoom In (Ctrl+Wheel)</source>
        <translation>Yakınlaştır (Ctrl+Tekerlek)</translation>
    </message>
    <message>
        <location filename="../src/app/waveform/views/WaveformStrip.cpp" line="77"/>
        <source>Zoom Out (Ctrl+Wheel)</source>
        <translation>Uzaklaştır (Ctrl+Tekerlek)</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/ImportMessage.cpp" line="13"/>
        <source>The file is larger than 200 MB, too large for a transcript.</source>
        <translation>Dosya 200 MB’tan büyük; bir döküm için fazla büyük.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/ImportMessage.cpp" line="15"/>
        <source>Line %1 holds bytes that no text file has: this is not a transcript.</source>
        <translation>%1. satırda hiçbir metin dosyasında bulunmayan baytlar var: bu bir döküm değil.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/ImportMessage.cpp" line="20"/>
        <source>The file is neither UTF-8 nor UTF-16 text.</source>
        <translation>Dosya ne UTF-8 ne de UTF-16 metin.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/ImportMessage.cpp" line="21"/>
        <source>Line %1 is not UTF-8 text. Save the file as UTF-8 and import it again.</source>
        <translation>%1. satır UTF-8 metin değil. Dosyayı UTF-8 olarak kaydedip yeniden içe aktarın.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/ImportMessage.cpp" line="25"/>
        <source>Line %1 should give the times of a subtitle, as in “00:01:02,500 --&gt; 00:01:05,000”.</source>
        <translation>%1. satır, “00:01:02,500 --&gt; 00:01:05,000” biçiminde bir altyazının zamanlarını vermeli.</translation>
    </message>
    <message>
        <location filename="../src/app/interchange/ImportMessage.cpp" line="29"/>
        <source>Line 1 should read “WEBVTT”: this is not a WebVTT file.</source>
        <translation>1. satır “WEBVTT” olmalı: bu bir WebVTT dosyası değil.</translation>
    </message>
    <message>
        <location filename="../src/app/session/AudioFileCheck.cpp" line="18"/>
        <source>“%1” is not an audio file Dictaro can open. Choose an %2 or %3 file.</source>
        <translation>“%1”, Dictaro’nun açabileceği bir ses dosyası değil. %2 veya %3 dosyası seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/text/SpellChecker.cpp" line="163"/>
        <source>“%1” could not be saved in your dictionary, so it will be marked again next time: the word list %2 cannot be written.</source>
        <translation>“%1” sözlüğünüze kaydedilemedi, bu yüzden bir dahaki sefere yine işaretlenecek: %2 kelime listesine yazılamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/text/TranscriptEditor.cpp" line="418"/>
        <source>Pasting… %p%</source>
        <translation>Yapıştırılıyor… %p%</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="58"/>
        <source>Download again to continue where it stopped.</source>
        <translation>Kaldığı yerden sürdürmek için yeniden indirin.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="112"/>
        <source>Dictaro can&apos;t create the folder %1.</source>
        <translation>Dictaro %1 klasörünü oluşturamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="130"/>
        <source>There is not enough free space for this model: it needs %1 more in %2.</source>
        <translation>Bu model için yeterli boş alan yok: %2 içinde %1 daha gerekiyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="140"/>
        <location filename="../src/app/draft/SpeechModel.cpp" line="188"/>
        <location filename="../src/app/draft/SpeechModel.cpp" line="230"/>
        <source>Dictaro can&apos;t write the model to %1: %2.</source>
        <translation>Dictaro modeli %1 konumuna yazamıyor: %2.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="168"/>
        <location filename="../src/app/draft/SpeechModel.cpp" line="213"/>
        <source>The server sent the wrong part of the file, so the partial download was deleted. Try again.</source>
        <translation>Sunucu dosyanın yanlış bölümünü gönderdi, bu yüzden yarım kalan indirme silindi. Yeniden deneyin.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="184"/>
        <source>The server sent more than the model&apos;s size, so the download was deleted.</source>
        <translation>Sunucu modelin boyutundan fazlasını gönderdi, bu yüzden indirme silindi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="206"/>
        <source>The download stalled: the server sent nothing for %1 seconds.</source>
        <translation>İndirme takıldı: sunucu %1 saniye boyunca hiçbir şey göndermedi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="221"/>
        <source>The download failed: the server answered “%1”.</source>
        <translation>İndirme başarısız oldu: sunucu “%1” yanıtını verdi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="226"/>
        <source>The download was interrupted (%1).</source>
        <translation>İndirme yarıda kesildi (%1).</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="234"/>
        <source>The download ended before the whole file arrived.</source>
        <translation>İndirme, dosyanın tamamı gelmeden sona erdi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="259"/>
        <source>Dictaro can&apos;t read the downloaded file to check it: %1.</source>
        <translation>Dictaro indirilen dosyayı denetlemek için okuyamıyor: %1.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="263"/>
        <source>The downloaded file is not the expected model (its checksum differs), so it was deleted.</source>
        <translation>İndirilen dosya beklenen model değil (sağlama toplamı farklı), bu yüzden silindi.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModel.cpp" line="268"/>
        <source>Dictaro can&apos;t put the model in place at %1.</source>
        <translation>Dictaro modeli %1 konumuna yerleştiremiyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/Drafter.cpp" line="94"/>
        <source>This copy of Dictaro cannot make drafts.</source>
        <translation>Dictaro&apos;nun bu kopyası taslak oluşturamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/Drafter.cpp" line="96"/>
        <source>Choose a speech model in Settings first.</source>
        <translation>Önce Ayarlar&apos;dan bir konuşma modeli seçin.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/Drafter.cpp" line="98"/>
        <source>The audio file is missing.</source>
        <translation>Ses dosyası bulunamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/Drafter.cpp" line="100"/>
        <source>There is nothing left to draft.</source>
        <translation>Taslağı hazırlanacak bir şey kalmadı.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/Drafter.cpp" line="140"/>
        <source>The speech model stopped before the end.</source>
        <translation>Konuşma modeli sona gelmeden durdu.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="33"/>
        <source>Which part of the recording should be drafted? The draft goes after your text.</source>
        <translation>Kaydın hangi bölümünün taslağı hazırlansın? Taslak, metninizin sonuna eklenir.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="35"/>
        <source>Your transcript has no timestamp to start the draft after. Which part of the recording should be drafted? The draft goes after your text.</source>
        <translation>Dökümünüzde taslağın başlayacağı bir zaman damgası yok. Kaydın hangi bölümünün taslağı hazırlansın? Taslak, metninizin sonuna eklenir.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="41"/>
        <source>The whole recording</source>
        <translation>Kaydın tamamı</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="43"/>
        <source>From the playback position (%1) to the end</source>
        <translation>Oynatma konumundan (%1) sona kadar</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="50"/>
        <source>From the last timestamp (%1) to the end</source>
        <translation>Son zaman damgasından (%1) sona kadar</translation>
    </message>
    <message>
        <location filename="../src/app/draft/views/DraftStretchDialog.cpp" line="58"/>
        <source>The marked stretch (%1–%2)</source>
        <translation>İşaretli bölüm (%1–%2)</translation>
    </message>
    <message>
        <location filename="../src/app/handsfree/PedalSettings.cpp" line="85"/>
        <source>Your pedal settings could not be saved. They work until Dictaro quits.</source>
        <translation>Pedal ayarlarınız kaydedilemedi. Dictaro kapanana kadar çalışırlar.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="74"/>
        <source>The recording “%1” can&apos;t be found.</source>
        <translation>“%1” kaydı bulunamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="78"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="124"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="130"/>
        <source>Stopped.</source>
        <translation>Durduruldu.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="79"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="96"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="127"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="141"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="143"/>
        <source>“%1” holds no audio that can be read.</source>
        <translation>“%1” okunabilir ses içermiyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="82"/>
        <location filename="../src/app/draft/SpeechAudio.cpp" line="131"/>
        <source>“%1” could not be read to its end.</source>
        <translation>“%1” sonuna kadar okunamadı.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModelFile.cpp" line="185"/>
        <source>“%1” is damaged or incomplete: download it again.</source>
        <translation>“%1” bozuk ya da eksik: yeniden indirin.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModelFile.cpp" line="189"/>
        <source>“%1” is a speech model of a kind Dictaro can&apos;t use.</source>
        <translation>“%1”, Dictaro&apos;nun kullanamadığı türden bir konuşma modeli.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModelFile.cpp" line="193"/>
        <source>The model file “%1” can&apos;t be read.</source>
        <translation>“%1” model dosyası okunamıyor.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/SpeechModelFile.cpp" line="196"/>
        <source>“%1” is not a speech model.</source>
        <translation>“%1” bir konuşma modeli değil.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/WhisperRecogniser.cpp" line="250"/>
        <source>This computer&apos;s processor lacks the instructions (AVX2) that the draft needs.</source>
        <translation>Bu bilgisayarın işlemcisinde taslağın gerektirdiği komutlar (AVX2) yok.</translation>
    </message>
    <message>
        <location filename="../src/app/draft/WhisperRecogniser.cpp" line="265"/>
        <source>The speech model “%1” could not be loaded.</source>
        <translation>“%1” konuşma modeli yüklenemedi.</translation>
    </message>
    <message>
        <location filename="../src/app/session/ProgressText.cpp" line="22"/>
        <source>1 word</source>
        <translation>1 sözcük</translation>
    </message>
    <message>
        <location filename="../src/app/session/ProgressText.cpp" line="23"/>
        <source>%1 words</source>
        <translation>%1 sözcük</translation>
    </message>
    <message>
        <location filename="../src/app/session/ProgressText.cpp" line="31"/>
        <location filename="../src/app/shell/views/PlayerBarView.cpp" line="276"/>
        <source>%1 %</source>
        <translation>%%1</translation>
    </message>
    <message>
        <location filename="../src/app/session/ProgressText.cpp" line="36"/>
        <source>Edited %1</source>
        <translation>Düzenlendi: %1</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/GoToTimeDialog.cpp" line="28"/>
        <source>Go to Time</source>
        <translation>Zamana Git</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/GoToTimeDialog.cpp" line="33"/>
        <source>Time in the recording, such as 1:12 or 01:12:30:</source>
        <translation>Kayıtta bir zaman, örneğin 1:12 ya da 01:12:30:</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/GoToTimeDialog.cpp" line="42"/>
        <source>Go</source>
        <translation>Git</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/GoToTimeDialog.cpp" line="60"/>
        <source>“%1” is not a time. Type seconds (72), minutes and seconds (1:12) or hours, minutes and seconds (01:12:30).</source>
        <translation>“%1” bir zaman değil. Saniye (72), dakika ve saniye (1:12) ya da saat, dakika ve saniye (01:12:30) yazın.</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="52"/>
        <source>&amp;Save</source>
        <translation>Ka&amp;ydet</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="58"/>
        <source>&amp;Export…</source>
        <translation>&amp;Dışa Aktar…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="63"/>
        <source>&amp;Import Transcript…</source>
        <translation>Döküm İçe &amp;Aktar…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="67"/>
        <source>Se&amp;ttings…</source>
        <translation>Aya&amp;rlar…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="74"/>
        <source>&amp;Quit</source>
        <translation>Çı&amp;k</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="81"/>
        <source>&amp;Undo</source>
        <translation>&amp;Geri Al</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="87"/>
        <source>&amp;Redo</source>
        <translation>&amp;Yinele</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="93"/>
        <source>Cu&amp;t</source>
        <translation>&amp;Kes</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="100"/>
        <source>&amp;Copy</source>
        <translation>K&amp;opyala</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="106"/>
        <source>&amp;Paste</source>
        <translation>Ya&amp;pıştır</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="112"/>
        <source>&amp;Delete</source>
        <translation>&amp;Sil</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="118"/>
        <source>Select &amp;All</source>
        <translation>&amp;Tümünü Seç</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="124"/>
        <source>&amp;Find…</source>
        <translation>&amp;Bul…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="131"/>
        <source>Find &amp;Next</source>
        <translation>So&amp;nrakini Bul</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="137"/>
        <source>Find Pre&amp;vious</source>
        <translation>Ön&amp;cekini Bul</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="143"/>
        <source>R&amp;eplace…</source>
        <translation>&amp;Değiştir…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="149"/>
        <source>&amp;Play/Pause</source>
        <translation>&amp;Oynat/Duraklat</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="155"/>
        <source>Skip &amp;Back</source>
        <translation>&amp;Geri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="161"/>
        <source>Skip &amp;Forward</source>
        <translation>İ&amp;leri Atla</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="168"/>
        <source>&amp;Go to Time…</source>
        <translation>Za&amp;mana Git…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="174"/>
        <source>&amp;Replay Last Seconds</source>
        <translation>&amp;Son Saniyeleri Yeniden Oynat</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="182"/>
        <source>&amp;Slower</source>
        <translation>Daha &amp;Yavaş</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="189"/>
        <source>F&amp;aster</source>
        <translation>Daha &amp;Hızlı</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="195"/>
        <source>Set &amp;Loop Start</source>
        <translation>Döngü &amp;Başını Belirle</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="202"/>
        <source>Set Loop &amp;End</source>
        <translation>Döngü Sonunu Beli&amp;rle</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="208"/>
        <source>&amp;Clear Loop</source>
        <translation>Döngüyü &amp;Kaldır</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="214"/>
        <source>Volume &amp;Up</source>
        <translation>S&amp;esi Yükselt</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="221"/>
        <source>Volume &amp;Down</source>
        <translation>Ses&amp;i Alçalt</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="227"/>
        <source>&amp;Both Channels</source>
        <translation>&amp;İki Kanal Birden</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="234"/>
        <source>&amp;Left Channel Only</source>
        <translation>Yalnızca &amp;Sol Kanal</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="240"/>
        <source>&amp;Right Channel Only</source>
        <translation>Yalnızca S&amp;ağ Kanal</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="246"/>
        <source>&amp;Voice Filter</source>
        <translation>&amp;Konuşma Filtresi</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="252"/>
        <source>Insert &amp;Timestamp</source>
        <translation>&amp;Zaman Damgası Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="259"/>
        <source>Pre&amp;vious Timestamp</source>
        <translation>Ö&amp;nceki Zaman Damgası</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="265"/>
        <source>&amp;Next Timestamp</source>
        <translation>Sonraki Zaman &amp;Damgası</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="271"/>
        <source>Play fr&amp;om the stamp at the caret</source>
        <translation>İmleçteki damgadan ç&amp;al</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="277"/>
        <source>Go to Playing L&amp;ine</source>
        <translation>Oynatılan Sa&amp;tıra Git</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="283"/>
        <source>&amp;Edit Speakers…</source>
        <translation>Konuşmacıları &amp;Düzenle…</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="287"/>
        <source>S&amp;witch Speaker</source>
        <translation>&amp;Konuşmacıyı Değiştir</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="291"/>
        <source>Speaker &amp;1</source>
        <translation>Konuşmacı &amp;1</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="292"/>
        <source>Speaker &amp;2</source>
        <translation>Konuşmacı &amp;2</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="293"/>
        <source>Speaker &amp;3</source>
        <translation>Konuşmacı &amp;3</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="294"/>
        <source>Speaker &amp;4</source>
        <translation>Konuşmacı &amp;4</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="295"/>
        <source>Speaker &amp;5</source>
        <translation>Konuşmacı &amp;5</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="296"/>
        <source>Speaker &amp;6</source>
        <translation>Konuşmacı &amp;6</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="297"/>
        <source>Speaker &amp;7</source>
        <translation>Konuşmacı &amp;7</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="298"/>
        <source>Speaker &amp;8</source>
        <translation>Konuşmacı &amp;8</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="299"/>
        <source>Speaker &amp;9</source>
        <translation>Konuşmacı &amp;9</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="303"/>
        <source>&amp;Make Draft</source>
        <translation>&amp;Taslak Oluştur</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="308"/>
        <source>&amp;Full Screen</source>
        <translation>&amp;Tam Ekran</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="314"/>
        <source>Show &amp;Waveform</source>
        <translation>&amp;Dalga Biçimini Göster</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="320"/>
        <source>Show &amp;Video</source>
        <translation>&amp;Videoyu Göster</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="326"/>
        <source>Video in Its Own Wi&amp;ndow</source>
        <translation>Video Ayrı &amp;Pencerede</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="332"/>
        <source>Zoom &amp;In</source>
        <translation>&amp;Yakınlaştır</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="338"/>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Uzaklaştır</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="343"/>
        <source>&amp;Actual Size</source>
        <translation>&amp;Gerçek Boyut</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="348"/>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Klavye Kısayolları</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="353"/>
        <source>&amp;About Dictaro</source>
        <translation>&amp;Dictaro Hakkında</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="357"/>
        <source>About &amp;Qt</source>
        <translation>&amp;Qt Hakkında</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="401"/>
        <source>&amp;File</source>
        <translation>&amp;Dosya</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="402"/>
        <source>&amp;Edit</source>
        <translation>Dü&amp;zen</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="403"/>
        <source>&amp;Playback</source>
        <translation>&amp;Oynatma</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="404"/>
        <source>&amp;Speakers</source>
        <translation>&amp;Konuşmacılar</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="405"/>
        <source>&amp;Draft</source>
        <translation>&amp;Taslak</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="406"/>
        <source>&amp;View</source>
        <translation>&amp;Görünüm</translation>
    </message>
    <message>
        <location filename="../src/app/commands/Command.cpp" line="407"/>
        <source>&amp;Help</source>
        <translation>&amp;Yardım</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="554"/>
        <source>[inaudible]</source>
        <translation>[anlaşılmıyor]</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="555"/>
        <source>[crosstalk]</source>
        <translation>[üst üste konuşma]</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="556"/>
        <source>[laughs]</source>
        <translation>[gülüyor]</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="557"/>
        <source>[pause]</source>
        <translation>[duraklama]</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="558"/>
        <source>[unclear]</source>
        <translation>[belirsiz]</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="559"/>
        <source>[background noise]</source>
        <translation>[arka plan gürültüsü]</translation>
    </message>
    <message>
        <location filename="../src/app/base/AppSettings.cpp" line="560"/>
        <source>[interruption]</source>
        <translation>[söz kesme]</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="32"/>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="37"/>
        <source>Speakers</source>
        <translation>Konuşmacılar</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="44"/>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="30"/>
        <source>Add</source>
        <translation>Ekle</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="46"/>
        <source>Rename</source>
        <translation>Yeniden Adlandır</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="48"/>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="32"/>
        <source>Remove</source>
        <translation>Kaldır</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="50"/>
        <source>Move Up</source>
        <translation>Yukarı Taşı</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="51"/>
        <source>Move Down</source>
        <translation>Aşağı Taşı</translation>
    </message>
    <message>
        <location filename="../src/app/shell/views/SpeakersSheet.cpp" line="53"/>
        <source>The first nine speakers start lines with the commands Speaker 1 to Speaker 9. Renaming a speaker renames its labels in the transcript.</source>
        <translation>İlk dokuz konuşmacı, Konuşmacı 1 ile Konuşmacı 9 arasındaki komutlarla satır başlatır. Bir konuşmacıyı yeniden adlandırmak, dökümdeki etiketlerini de yeniden adlandırır.</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="22"/>
        <source>Abbreviation</source>
        <translation>Kısaltma</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="22"/>
        <source>Text</source>
        <translation>Metin</translation>
    </message>
    <message>
        <location filename="../src/app/text/views/SnippetsView.cpp" line="38"/>
        <source>An abbreviation becomes its text when you type a space, a line break or a punctuation mark (. , ; : ! ?) after it. Undo gives the abbreviation back. Abbreviations hold no spaces or punctuation marks.</source>
        <translation>Bir kısaltma, ardından boşluk, satır sonu ya da noktalama işareti (. , ; : ! ?) yazdığınızda metnine dönüşür. Geri al, kısaltmayı geri getirir. Kısaltmalarda boşluk ya da noktalama işareti bulunmaz.</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <location filename="../src/app/base/Localization.cpp" line="73"/>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
</context>
</TS>
