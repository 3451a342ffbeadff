<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CopyContext</name>
    <message>
        <source>it changed while it was being copied</source>
        <translation>es wurde während des Kopierens verändert</translation>
    </message>
    <message>
        <source>it is neither a file, a folder nor a link</source>
        <translation>es ist weder eine Datei noch ein Ordner noch eine Verknüpfung</translation>
    </message>
</context>
<context>
    <name>FileClipboard</name>
    <message>
        <source>These were left out, as they do not name a file on this computer by its full path:
</source>
        <translation>Diese wurden ausgelassen, da sie keine Datei auf diesem Rechner mit vollständigem Pfad bezeichnen:
</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>E&amp;infügen</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Neuer Ordner</translation>
    </message>
    <message>
        <source>Re&amp;fresh</source>
        <translation>Aktualisie&amp;ren</translation>
    </message>
</context>
<context>
    <name>FileCopier</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiteres</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>put back %1</source>
        <translation>%1 zurückgelegt</translation>
    </message>
    <message>
        <source>recovered %1 beside files changed since</source>
        <translation>%1 neben seither geänderten Dateien wiederhergestellt</translation>
    </message>
    <message>
        <source>could not put back %1, kept in a hidden .tovix-copy- folder</source>
        <translation>%1 konnte nicht zurückgelegt werden, im versteckten Ordner .tovix-copy- aufbewahrt</translation>
    </message>
    <message>
        <source>After a copy cut short: %1.</source>
        <translation>Nach einem abgebrochenen Kopiervorgang: %1.</translation>
    </message>
    <message>
        <source>Kept %1, as files were put into them while the copy ran.</source>
        <translation>%1 behalten, da während des Kopierens Dateien darin abgelegt wurden.</translation>
    </message>
    <message>
        <source>Not removed from where they were, as they changed during the move: %1.</source>
        <translation>Nicht vom ursprünglichen Ort entfernt, da sie sich während des Verschiebens geändert haben: %1.</translation>
    </message>
    <message>
        <source>Cannot open the folder &quot;%1&quot;: %2.</source>
        <translation>Der Ordner „%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was copied, but could not be removed from where it was: %2.</source>
        <translation>„%1“ wurde kopiert, konnte aber nicht vom ursprünglichen Ort entfernt werden: %2.</translation>
    </message>
    <message>
        <source>Cannot move &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht verschoben werden: %2.</translation>
    </message>
    <message>
        <source>Cannot copy &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht kopiert werden: %2.</translation>
    </message>
    <message>
        <source>Cannot move the folder &quot;%1&quot; into itself.</source>
        <translation>Der Ordner „%1“ kann nicht in sich selbst verschoben werden.</translation>
    </message>
    <message>
        <source>Cannot copy the folder &quot;%1&quot; into itself.</source>
        <translation>Der Ordner „%1“ kann nicht in sich selbst kopiert werden.</translation>
    </message>
    <message>
        <source>Cannot replace &quot;%1&quot; with an item it holds.</source>
        <translation>„%1“ kann nicht durch ein darin enthaltenes Element ersetzt werden.</translation>
    </message>
</context>
<context>
    <name>FileItemModel</name>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Änderungsdatum</translation>
    </message>
</context>
<context>
    <name>FolderTree</name>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
</context>
<context>
    <name>FolderView</name>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>These names are not valid text in this system&apos;s encoding and can not be copied or moved; rename them first:
%1</source>
        <translation>Diese Namen sind in der Zeichenkodierung dieses Systems kein gültiger Text und können nicht kopiert oder verschoben werden; benennen Sie sie zuerst um:
%1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiteres</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportRun</name>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 und %n weitere</numerusform>
            <numerusform>%1 und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>No new recordings to import.</source>
        <translation>Nichts Neues zu importieren.</translation>
    </message>
    <message numerus="yes">
        <source>%n recording imported.</source>
        <translation>
            <numerusform>%n Aufnahme importiert.</numerusform>
            <numerusform>%n Aufnahmen importiert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n recordings imported.</source>
        <translation>
            <numerusform>%n Aufnahme importiert.</numerusform>
            <numerusform>%n Aufnahmen importiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>No recordings were imported.</source>
        <translation>Keine Aufnahmen importiert.</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n new recordings imported.</source>
        <translation>
            <numerusform>%1 von %n neuen Aufnahme importiert.</numerusform>
            <numerusform>%1 von %n neuen Aufnahmen importiert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Under a new name, as their names were taken: %1.</source>
        <translation>
            <numerusform>Unter neuem Namen, da der Name bereits vergeben war: %1.</numerusform>
            <numerusform>Unter neuen Namen, da die Namen bereits vergeben waren: %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>ListenSession</name>
    <message>
        <source>Sound output stopped: the sound server went away.</source>
        <translation>Tonausgabe beendet: Der Soundserver ist nicht mehr erreichbar.</translation>
    </message>
    <message>
        <source>No sound output: the sound server can not be reached.</source>
        <translation>Keine Tonausgabe: Der Soundserver ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>Playing %1 ended early: the file became shorter while it played.</source>
        <translation>Die Wiedergabe von %1 endete vorzeitig: Die Datei wurde während der Wiedergabe kürzer.</translation>
    </message>
    <message>
        <source>it is larger than the listening cache (256 MiB)</source>
        <translation>sie ist größer als der Zwischenspeicher zum Anhören (256 MiB)</translation>
    </message>
    <message>
        <source>the listening cache %1 can not be written</source>
        <translation>in den Zwischenspeicher zum Anhören %1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>MprisPlayerAdaptor</name>
    <message>
        <source>Only local voice recordings, wave and MP3 files can be opened.</source>
        <translation>Nur lokale Sprachaufnahmen, Wave- und MP3-Dateien können geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>NameList</name>
    <message numerus="yes">
        <source>and %n more.</source>
        <translation>
            <numerusform>und %n weitere.</numerusform>
            <numerusform>und %n weitere.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PcFileOperations</name>
    <message>
        <source>the move of &quot;%1&quot; into &quot;%2&quot;</source>
        <translation>das Verschieben von „%1“ nach „%2“</translation>
    </message>
    <message>
        <source>the copy of &quot;%1&quot; into &quot;%2&quot;</source>
        <translation>das Kopieren von „%1“ nach „%2“</translation>
    </message>
    <message numerus="yes">
        <source>the move of %n items into &quot;%1&quot;</source>
        <translation>
            <numerusform>das Verschieben von %n Element nach „%1“</numerusform>
            <numerusform>das Verschieben von %n Elementen nach „%1“</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the copy of %n items into &quot;%1&quot;</source>
        <translation>
            <numerusform>das Kopieren von %n Element nach „%1“</numerusform>
            <numerusform>das Kopieren von %n Elementen nach „%1“</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled before it began: %1.</source>
        <translation>Vor dem Start abgebrochen: %1.</translation>
    </message>
    <message>
        <source>Cancelled before they began: %1.</source>
        <translation>Vor dem Start abgebrochen: %1.</translation>
    </message>
    <message>
        <source>A folder named &quot;%1&quot; already exists in &quot;%2&quot;.
Replace it, skip this one, or keep both?</source>
        <translation>Ein Ordner namens „%1“ existiert bereits in „%2“.
Ersetzen, überspringen oder beide behalten?</translation>
    </message>
    <message>
        <source>A file named &quot;%1&quot; already exists in &quot;%2&quot;.
Replace it, skip this one, or keep both?</source>
        <translation>Eine Datei namens „%1“ existiert bereits in „%2“.
Ersetzen, überspringen oder beide behalten?</translation>
    </message>
</context>
<context>
    <name>PlayBar</name>
    <message>
        <source>Play or pause</source>
        <translation>Wiedergabe oder Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Back 5 seconds</source>
        <translation>5 Sekunden zurück</translation>
    </message>
    <message>
        <source>Forward 5 seconds</source>
        <translation>5 Sekunden vor</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Langsamer</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Schneller</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Loudness overview</source>
        <translation>Lautstärkeübersicht</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Position and length</source>
        <translation>Position und Länge</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Volume: %1%</source>
        <translation>Lautstärke: %1%</translation>
    </message>
    <message>
        <source>Copying... %1%</source>
        <translation>Kopieren... %1%</translation>
    </message>
    <message>
        <source>%1 / %2 (%3% copied)</source>
        <translation>%1 / %2 (%3% kopiert)</translation>
    </message>
</context>
<context>
    <name>PlaybackDecoder</name>
    <message>
        <source>it is not a voice recording</source>
        <translation>es ist keine Sprachaufnahme</translation>
    </message>
    <message>
        <source>it is not an MP3 file</source>
        <translation>es ist keine MP3-Datei</translation>
    </message>
    <message>
        <source>the file can not be opened</source>
        <translation>die Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>es ist keine Datei</translation>
    </message>
    <message>
        <source>only voice recordings, wave files and MP3 files can be played</source>
        <translation>nur Sprachaufnahmen, WAV-Dateien und MP3-Dateien können wiedergegeben werden</translation>
    </message>
    <message>
        <source>it holds no sound</source>
        <translation>sie enthält keinen Ton</translation>
    </message>
    <message>
        <source>it is not a PCM wave file with 16-bit samples</source>
        <translation>es ist keine PCM-WAV-Datei mit 16-Bit-Samples</translation>
    </message>
</context>
<context>
    <name>PlayerState</name>
    <message>
        <source>memory card exists</source>
        <translation>Karte vorhanden</translation>
    </message>
    <message>
        <source>no memory card</source>
        <translation>keine Karte</translation>
    </message>
    <message>
        <source>wrong memory card</source>
        <translation>falsche Karte</translation>
    </message>
    <message>
        <source>currupted memory card</source>
        <translation>Karte beschädigt</translation>
    </message>
    <message>
        <source>write protected</source>
        <translation>schreibgeschützt</translation>
    </message>
    <message>
        <source>writable</source>
        <translation>beschreibbar</translation>
    </message>
    <message numerus="yes">
        <source>Internal (%1 Kb [%2%] Free) - %n File(s)</source>
        <translation>
            <numerusform>Intern (%1 KB [%2%] frei) - %n Datei</numerusform>
            <numerusform>Intern (%1 KB [%2%] frei) - %n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>External (%1 kb [%2%] Free) - %n File(s)</source>
        <translation>
            <numerusform>Extern (%1 KB [%2%] frei) - %n Datei</numerusform>
            <numerusform>Extern (%1 KB [%2%] frei) - %n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file on Internal Memory and %1 on Memory Card are not listed: the player lists %2 files per memory at most.</source>
        <translation>
            <numerusform>%n Datei im internen Speicher und %1 auf der Speicherkarte werden nicht aufgeführt: Der Player führt höchstens %2 Dateien je Speicher auf.</numerusform>
            <numerusform>%n Dateien im internen Speicher und %1 auf der Speicherkarte werden nicht aufgeführt: Der Player führt höchstens %2 Dateien je Speicher auf.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files on Internal Memory and %1 on Memory Card are not listed: the player lists %2 files per memory at most.</source>
        <translation>
            <numerusform>%n Datei im internen Speicher und %1 auf der Speicherkarte werden nicht aufgeführt: Der Player führt höchstens %2 Dateien je Speicher auf.</numerusform>
            <numerusform>%n Dateien im internen Speicher und %1 auf der Speicherkarte werden nicht aufgeführt: Der Player führt höchstens %2 Dateien je Speicher auf.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file on Internal Memory is not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n Datei im internen Speicher wird nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
            <numerusform>%n Dateien im internen Speicher werden nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files on Internal Memory are not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n Datei im internen Speicher wird nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
            <numerusform>%n Dateien im internen Speicher werden nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file on Memory Card is not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n Datei auf der Speicherkarte wird nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
            <numerusform>%n Dateien auf der Speicherkarte werden nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files on Memory Card are not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n Datei auf der Speicherkarte wird nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
            <numerusform>%n Dateien auf der Speicherkarte werden nicht aufgeführt: Der Player führt höchstens %1 Dateien je Speicher auf.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 holds %2 files; %n of them is not listed and will be erased too.</source>
        <translation>
            <numerusform>%1: %2 Dateien, davon wird %n nicht aufgeführt und ebenfalls gelöscht.</numerusform>
            <numerusform>%1: %2 Dateien, davon werden %n nicht aufgeführt und ebenfalls gelöscht.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 holds %2 files; %n of them are not listed and will be erased too.</source>
        <translation>
            <numerusform>%1: %2 Dateien, davon wird %n nicht aufgeführt und ebenfalls gelöscht.</numerusform>
            <numerusform>%1: %2 Dateien, davon werden %n nicht aufgeführt und ebenfalls gelöscht.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Keep both</source>
        <translation>&amp;Beide behalten</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>Übers&amp;pringen</translation>
    </message>
</context>
<context>
    <name>PulseSink</name>
    <message>
        <source>Listening</source>
        <translation>Wiedergabe</translation>
    </message>
</context>
<context>
    <name>Queue</name>
    <message>
        <source>Downloading...</source>
        <translation>Wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Uploading...</source>
        <translation>Wird hochgeladen...</translation>
    </message>
    <message>
        <source>Removing...</source>
        <translation>Wird entfernt...</translation>
    </message>
    <message>
        <source>Formatting...</source>
        <translation>Wird formatiert...</translation>
    </message>
    <message>
        <source>Copying to listen...</source>
        <translation>Wird zum Anhören kopiert...</translation>
    </message>
    <message>
        <source>Download &quot;%1&quot; to Memory Card</source>
        <translation>„%1“ auf die Speicherkarte herunterladen</translation>
    </message>
    <message>
        <source>Download &quot;%1&quot; to Internal Memory</source>
        <translation>„%1“ in den internen Speicher herunterladen</translation>
    </message>
    <message>
        <source>Upload &quot;%1&quot; in Memory Card to PC</source>
        <translation>„%1“ von der Speicherkarte auf den PC hochladen</translation>
    </message>
    <message>
        <source>Upload &quot;%1&quot; in Internal Memory to PC</source>
        <translation>„%1“ aus dem internen Speicher auf den PC hochladen</translation>
    </message>
    <message>
        <source>Remove &quot;%1&quot; in Memory Card</source>
        <translation>„%1“ von der Speicherkarte entfernen</translation>
    </message>
    <message>
        <source>Remove &quot;%1&quot; in Internal Memory</source>
        <translation>„%1“ aus dem internen Speicher entfernen</translation>
    </message>
    <message>
        <source>Format Memory Card</source>
        <translation>Speicherkarte formatieren</translation>
    </message>
    <message>
        <source>Format Internal Memory</source>
        <translation>Internen Speicher formatieren</translation>
    </message>
    <message numerus="yes">
        <source>%n operation failed.</source>
        <translation>
            <numerusform>%n Vorgang ist fehlgeschlagen.</numerusform>
            <numerusform>%n Vorgänge sind fehlgeschlagen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n operations failed.</source>
        <translation>
            <numerusform>%n Vorgang ist fehlgeschlagen.</numerusform>
            <numerusform>%n Vorgänge sind fehlgeschlagen.</numerusform>
        </translation>
    </message>
    <message>
        <source>This operation failed:</source>
        <translation>Dieser Vorgang ist fehlgeschlagen:</translation>
    </message>
    <message numerus="yes">
        <source>These %n operations failed:</source>
        <translation>
            <numerusform>Dieser %n Vorgang ist fehlgeschlagen:</numerusform>
            <numerusform>Diese %n Vorgänge sind fehlgeschlagen:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiteres</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TForm_About</name>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Version Number 1.3</source>
        <translation>Versionsnummer 1.3</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>TForm_TargetSelection</name>
    <message>
        <source>Select Target</source>
        <translation>Ziel auswählen</translation>
    </message>
    <message>
        <source>Internal Memory</source>
        <translation>Interner Speicher</translation>
    </message>
    <message>
        <source>External memory card</source>
        <translation>Externe Speicherkarte</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>TForm_TovixMan</name>
    <message>
        <source>The folder &quot;%1&quot; did not answer, so &quot;%2&quot; is shown.</source>
        <translation>Der Ordner „%1“ hat nicht geantwortet, daher wird „%2“ angezeigt.</translation>
    </message>
    <message>
        <source>Converting &quot;%1&quot;...</source>
        <translation>„%1“ wird umgewandelt...</translation>
    </message>
    <message>
        <source>not converted</source>
        <translation>nicht umgewandelt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was replaced during its conversion; the new file is kept.</source>
        <translation>„%1“ wurde während der Umwandlung ersetzt; die neue Datei bleibt erhalten.</translation>
    </message>
    <message>
        <source>Write protected. Can not download any files.</source>
        <translation>Schreibgeschützt. Es können keine Dateien heruntergeladen werden.</translation>
    </message>
    <message>
        <source>Sorry, can not download folder</source>
        <translation>Ordner können leider nicht heruntergeladen werden</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: its path is longer than %2 characters.</source>
        <translation>„%1“ kann nicht heruntergeladen werden: Sein Pfad ist länger als %2 Zeichen.</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: files of 2 GB or more are not supported.</source>
        <translation>„%1“ kann nicht heruntergeladen werden: Dateien ab 2 GB werden nicht unterstützt.</translation>
    </message>
    <message>
        <source>Not enough external memory.</source>
        <translation>Nicht genug externer Speicher.</translation>
    </message>
    <message>
        <source>Not enough internal memory.</source>
        <translation>Nicht genug interner Speicher.</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: too much is already queued for the memory card. Wait for the queue to finish.</source>
        <translation>„%1“ kann nicht heruntergeladen werden: Für die Speicherkarte steht bereits zu viel in der Warteschlange. Warten Sie, bis die Warteschlange abgearbeitet ist.</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: too much is already queued for the internal memory. Wait for the queue to finish.</source>
        <translation>„%1“ kann nicht heruntergeladen werden: Für den internen Speicher steht bereits zu viel in der Warteschlange. Warten Sie, bis die Warteschlange abgearbeitet ist.</translation>
    </message>
    <message>
        <source>Please select files to download</source>
        <translation>Bitte wählen Sie die herunterzuladenden Dateien aus</translation>
    </message>
    <message>
        <source>File reading failed.</source>
        <translation>Das Lesen der Datei ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>No new recordings to import.</source>
        <translation>Nichts Neues zu importieren.</translation>
    </message>
    <message>
        <source>New recordings will be imported into %1 when the player is attached.</source>
        <translation>Neue Aufnahmen werden beim Anschließen des Players nach %1 importiert.</translation>
    </message>
    <message>
        <source>Recordings not imported: the folder %1 is not there.</source>
        <translation>Aufnahmen nicht importiert: Der Ordner %1 ist nicht vorhanden.</translation>
    </message>
    <message numerus="yes">
        <source>%n recording queued for import.</source>
        <translation>
            <numerusform>%n Aufnahme zum Import eingereiht.</numerusform>
            <numerusform>%n Aufnahmen zum Import eingereiht.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n recordings queued for import.</source>
        <translation>
            <numerusform>%n Aufnahme zum Import eingereiht.</numerusform>
            <numerusform>%n Aufnahmen zum Import eingereiht.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Neuer Ordner</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Download selected files from PC to Player</source>
        <translation>Ausgewählte Dateien vom PC auf den Player &amp;herunterladen</translation>
    </message>
    <message>
        <source>&amp;Upload selected files from Player to PC</source>
        <translation>Ausgewählte Dateien vom Player auf den PC hoch&amp;laden</translation>
    </message>
    <message>
        <source>&amp;Import new recordings</source>
        <translation>Neue Aufnahmen &amp;importieren</translation>
    </message>
    <message>
        <source>Import new recordings when the player is a&amp;ttached</source>
        <translation>Neue Aufnahmen beim &amp;Anschließen des Players importieren</translation>
    </message>
    <message>
        <source>&amp;Remove selected file(s) from Player</source>
        <translation>Ausgewählte Datei(en) vom Player &amp;entfernen</translation>
    </message>
    <message>
        <source>Remove &amp;all files from Player</source>
        <translation>Alle Dateien vom Player entfe&amp;rnen</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Formatieren</translation>
    </message>
    <message>
        <source>Format all &amp;memories</source>
        <translation>Alle &amp;Speicher formatieren</translation>
    </message>
    <message>
        <source>&amp;Cancel selected/checked operation(s) in queue</source>
        <translation>Ausgewählte/markierte Vorgänge in der Warteschlange a&amp;bbrechen</translation>
    </message>
    <message>
        <source>Cancel all &amp;operations</source>
        <translation>Alle &amp;Vorgänge abbrechen</translation>
    </message>
    <message>
        <source>&amp;Big icons</source>
        <translation>&amp;Große Symbole</translation>
    </message>
    <message>
        <source>&amp;Small icons</source>
        <translation>&amp;Kleine Symbole</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>Wendaro Homepage</source>
        <translation>Wendaro-Webseite</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>&amp;Vorgänge</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;PC</source>
        <translation>&amp;PC</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Upload selected files in Player to PC</source>
        <translation>Ausgewählte Dateien vom Player auf den PC &amp;hochladen</translation>
    </message>
    <message>
        <source>Upload &amp;all files in Player to PC</source>
        <translation>Alle Dateien vom Player auf den PC hoch&amp;laden</translation>
    </message>
    <message>
        <source>&amp;Remove selected files in Player</source>
        <translation>Ausgewählte Dateien vom Player &amp;entfernen</translation>
    </message>
    <message>
        <source>Remove a&amp;ll files</source>
        <translation>Alle Dateien entfe&amp;rnen</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>S&amp;torage</source>
        <translation>S&amp;peicherort</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Größe</translation>
    </message>
    <message>
        <source>&amp;Date</source>
        <translation>&amp;Datum</translation>
    </message>
    <message>
        <source>&amp;Attributes</source>
        <translation>&amp;Attribute</translation>
    </message>
    <message>
        <source>Cancel &amp;all operations</source>
        <translation>&amp;Alle Vorgänge abbrechen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Big Icons</source>
        <translation>Große Symbole</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Kleine Symbole</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Download to Player</source>
        <translation>Auf den Player herunterladen</translation>
    </message>
    <message>
        <source>Upload from Player</source>
        <translation>Vom Player hochladen</translation>
    </message>
    <message>
        <source>Remove Track</source>
        <translation>Titel entfernen</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formatieren</translation>
    </message>
    <message>
        <source>Import new recordings</source>
        <translation>Neue Aufnahmen importieren</translation>
    </message>
    <message>
        <source>Show all of internal/external files</source>
        <translation>Alle Dateien im internen/externen Speicher anzeigen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>All Files in Internal memory and external memory card</source>
        <translation>Alle Dateien im internen Speicher und auf der externen Speicherkarte</translation>
    </message>
    <message>
        <source>Unable to Internal Memory</source>
        <translation>Interner Speicher nicht verfügbar</translation>
    </message>
    <message>
        <source>Files in internal memory</source>
        <translation>Dateien im internen Speicher</translation>
    </message>
    <message>
        <source>Unable to External Memory</source>
        <translation>Externer Speicher nicht verfügbar</translation>
    </message>
    <message>
        <source>Files in external memory card</source>
        <translation>Dateien auf der externen Speicherkarte</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Internal Memory</source>
        <translation>Interner Speicher</translation>
    </message>
    <message>
        <source>Memory Card</source>
        <translation>Speicherkarte</translation>
    </message>
    <message>
        <source>External Memory</source>
        <translation>Externer Speicher</translation>
    </message>
    <message>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>PC tool bar</source>
        <translation>PC-Werkzeugleiste</translation>
    </message>
    <message>
        <source>Refresh PC folder</source>
        <translation>PC-Ordner aktualisieren</translation>
    </message>
    <message>
        <source>PC folders</source>
        <translation>PC-Ordner</translation>
    </message>
    <message>
        <source>PC files</source>
        <translation>PC-Dateien</translation>
    </message>
    <message>
        <source>Player tool bar</source>
        <translation>Player-Werkzeugleiste</translation>
    </message>
    <message>
        <source>Refresh player files</source>
        <translation>Player-Dateien aktualisieren</translation>
    </message>
    <message>
        <source>Remove selected player files</source>
        <translation>Ausgewählte Player-Dateien entfernen</translation>
    </message>
    <message>
        <source>Format player memory</source>
        <translation>Player-Speicher formatieren</translation>
    </message>
    <message>
        <source>Player files</source>
        <translation>Player-Dateien</translation>
    </message>
    <message>
        <source>All player files</source>
        <translation>Alle Player-Dateien</translation>
    </message>
    <message>
        <source>Internal memory files</source>
        <translation>Dateien im internen Speicher</translation>
    </message>
    <message>
        <source>Memory card files</source>
        <translation>Dateien auf der Speicherkarte</translation>
    </message>
    <message>
        <source>Internal memory usage</source>
        <translation>Belegung des internen Speichers</translation>
    </message>
    <message>
        <source>Memory card usage</source>
        <translation>Belegung der Speicherkarte</translation>
    </message>
    <message>
        <source>Operation queue</source>
        <translation>Warteschlange der Vorgänge</translation>
    </message>
    <message>
        <source>Operation running</source>
        <translation>Vorgang läuft</translation>
    </message>
    <message>
        <source>PC</source>
        <translation>PC</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Weitere Werkzeuge</translation>
    </message>
    <message>
        <source>Player connection</source>
        <translation>Player-Verbindung</translation>
    </message>
    <message>
        <source>Memory card state</source>
        <translation>Zustand der Speicherkarte</translation>
    </message>
    <message>
        <source>Write protection</source>
        <translation>Schreibschutz</translation>
    </message>
    <message>
        <source>Latest event</source>
        <translation>Letztes Ereignis</translation>
    </message>
    <message>
        <source>Time the running operation has taken</source>
        <translation>Bisherige Dauer des laufenden Vorgangs</translation>
    </message>
    <message numerus="yes">
        <source>%n second</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Play / Pause</source>
        <translation>&amp;Wiedergabe / Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>&amp;Back 5 seconds</source>
        <translation>5 Sekunden &amp;zurück</translation>
    </message>
    <message>
        <source>&amp;Forward 5 seconds</source>
        <translation>5 Sekunden &amp;vor</translation>
    </message>
    <message>
        <source>S&amp;lower by 0.1x</source>
        <translation>&amp;Langsamer um 0,1x</translation>
    </message>
    <message>
        <source>&amp;Faster by 0.1x</source>
        <translation>&amp;Schneller um 0,1x</translation>
    </message>
    <message>
        <source>&amp;Go to time...</source>
        <translation>&amp;Gehe zu Zeit...</translation>
    </message>
    <message>
        <source>&amp;Rewind 2 seconds on pause</source>
        <translation>Beim Pausieren 2 Sekunden &amp;zurückspulen</translation>
    </message>
    <message>
        <source>&amp;Listen</source>
        <translation>&amp;Wiedergabe</translation>
    </message>
    <message>
        <source>Play bar</source>
        <translation>Wiedergabeleiste</translation>
    </message>
    <message>
        <source>Listening to %1</source>
        <translation>%1 wird angehört</translation>
    </message>
    <message>
        <source>Can not play %1: %2.</source>
        <translation>%1 kann nicht wiedergegeben werden: %2.</translation>
    </message>
    <message>
        <source>Please select a recording to listen to</source>
        <translation>Bitte wählen Sie eine Aufnahme zum Anhören aus</translation>
    </message>
    <message>
        <source>Listening to %1; %2 could not be played</source>
        <translation>%1 wird angehört; %2 konnten nicht wiedergegeben werden</translation>
    </message>
    <message>
        <source>Can not play %1: only voice recordings, wave files and MP3 files can be played.</source>
        <translation>%1 kann nicht wiedergegeben werden: Nur Sprachaufnahmen, WAV-Dateien und MP3-Dateien können wiedergegeben werden.</translation>
    </message>
    <message>
        <source>the cache folder&apos;s path is too long</source>
        <translation>der Pfad des Zwischenspeicherordners ist zu lang</translation>
    </message>
    <message>
        <source>Listen &quot;%1&quot; in %2</source>
        <translation>„%1“ in %2 anhören</translation>
    </message>
    <message>
        <source>Rewind le&amp;ngth</source>
        <translation>Rücksprung&amp;länge</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Langsamer</translation>
    </message>
    <message>
        <source>Slower by 0.1x (%1)</source>
        <translation>Um 0,1x langsamer (%1)</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Schneller</translation>
    </message>
    <message>
        <source>Faster by 0.1x (%1)</source>
        <translation>Um 0,1x schneller (%1)</translation>
    </message>
    <message>
        <source>P&amp;lay</source>
        <translation>Ab&amp;spielen</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Abspielen</translation>
    </message>
    <message>
        <source>&amp;Rewind %1 on pause</source>
        <translation>Beim Anhalten %1 &amp;zurückspringen</translation>
    </message>
    <message>
        <source>Go to time</source>
        <translation>Gehe zu Zeit</translation>
    </message>
    <message>
        <source>Go to (m:ss or h:mm:ss):</source>
        <translation>Gehe zu (m:ss oder h:mm:ss):</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time. Type minutes and seconds as m:ss (1:23) or hours, minutes and seconds as h:mm:ss (1:02:03).</source>
        <translation>„%1“ ist keine Zeitangabe. Geben Sie Minuten und Sekunden als m:ss (1:23) oder Stunden, Minuten und Sekunden als h:mm:ss (1:02:03) ein.</translation>
    </message>
    <message>
        <source>%1 is past the end of the recording, which lasts %2.</source>
        <translation>%1 liegt nach dem Ende der Aufnahme, die %2 dauert.</translation>
    </message>
    <message>
        <source>Internal</source>
        <translation>Intern</translation>
    </message>
    <message>
        <source>MemCard</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Can not play %1 while the player is being formatted: it has to be copied from the player first.</source>
        <translation>%1 kann nicht abgespielt werden, während der Player formatiert wird: Die Aufnahme muss zuerst vom Player kopiert werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be opened: it does not exist or cannot be read.</source>
        <translation>„%1“ kann nicht geöffnet werden: Die Datei existiert nicht oder kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a voice recording.</source>
        <translation>„%1“ ist keine Sprachaufnahme.</translation>
    </message>
    <message numerus="yes">
        <source>and %n more.</source>
        <translation>
            <numerusform>und %n weitere.</numerusform>
            <numerusform>und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Do you really want to delete the folder &quot;%1&quot; and everything in it ?</source>
        <translation>Möchten Sie den Ordner „%1“ und seinen gesamten Inhalt wirklich löschen?</translation>
    </message>
    <message>
        <source>Player is connected.</source>
        <translation>Der Player ist verbunden.</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
    <message>
        <source>Player is disconnected.</source>
        <translation>Der Player ist getrennt.</translation>
    </message>
    <message>
        <source>Do you really want to format ?</source>
        <translation>Möchten Sie wirklich formatieren?</translation>
    </message>
    <message>
        <source>Operation completed.</source>
        <translation>Vorgang abgeschlossen.</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>%1 (failed: %2)</source>
        <translation>%1 (fehlgeschlagen: %2)</translation>
    </message>
    <message>
        <source>Waiting for the running operation to finish...</source>
        <translation>Warten auf das Ende des laufenden Vorgangs...</translation>
    </message>
    <message numerus="yes">
        <source>The running operation has not finished after %n seconds.
Quit anyway ? The file it is copying may be left incomplete.</source>
        <translation>
            <numerusform>Der laufende Vorgang ist nach %n Sekunde noch nicht beendet.
Trotzdem beenden? Die Datei, die er kopiert, bleibt möglicherweise unvollständig.</numerusform>
            <numerusform>Der laufende Vorgang ist nach %n Sekunden noch nicht beendet.
Trotzdem beenden? Die Datei, die er kopiert, bleibt möglicherweise unvollständig.</numerusform>
        </translation>
    </message>
    <message>
        <source>Can not remove &quot;%1&quot;: its name on the player is longer than %2 characters.</source>
        <translation>„%1“ kann nicht entfernt werden: Sein Name auf dem Player ist länger als %2 Zeichen.</translation>
    </message>
    <message>
        <source>Please select files to remove</source>
        <translation>Bitte wählen Sie die zu entfernenden Dateien aus</translation>
    </message>
    <message>
        <source>Do you really want to remove selected files ?</source>
        <translation>Möchten Sie die ausgewählten Dateien wirklich entfernen?</translation>
    </message>
    <message>
        <source>Can not format when job remains</source>
        <translation>Formatieren nicht möglich, solange Vorgänge ausstehen</translation>
    </message>
    <message>
        <source>Can not upload &quot;%1&quot; (%2 on the player): that name can not be used for a file on the PC.</source>
        <translation>„%1“ (%2 auf dem Player) kann nicht hochgeladen werden: Dieser Name kann für keine Datei auf dem PC verwendet werden.</translation>
    </message>
    <message>
        <source>Can not upload &quot;%1&quot;: its name on the player is longer than %2 characters.</source>
        <translation>„%1“ kann nicht hochgeladen werden: Sein Name auf dem Player ist länger als %2 Zeichen.</translation>
    </message>
    <message>
        <source>Can not upload &quot;%1&quot;: the path on the PC would be longer than %2 characters.</source>
        <translation>„%1“ kann nicht hochgeladen werden: Der Pfad auf dem PC wäre länger als %2 Zeichen.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists on the PC. Replace it ?</source>
        <translation>Die Datei „%1“ existiert bereits auf dem PC. Ersetzen?</translation>
    </message>
    <message>
        <source>Please select files to upload</source>
        <translation>Bitte wählen Sie die hochzuladenden Dateien aus</translation>
    </message>
</context>
<context>
    <name>TransferProgressDialog</name>
    <message>
        <source>Copy progress</source>
        <translation>Kopierfortschritt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Moving files</source>
        <translation>Dateien werden verschoben</translation>
    </message>
    <message>
        <source>Copying files</source>
        <translation>Dateien werden kopiert</translation>
    </message>
    <message>
        <source>Moving &quot;%1&quot;</source>
        <translation>„%1“ wird verschoben</translation>
    </message>
    <message>
        <source>Copying &quot;%1&quot;</source>
        <translation>„%1“ wird kopiert</translation>
    </message>
</context>
<context>
    <name>VoiceMessages</name>
    <message>
        <source>File already exists, Overwrite ?</source>
        <translation>Die Datei existiert bereits. Überschreiben?</translation>
    </message>
    <message>
        <source>Can not open voice file</source>
        <translation>Die Sprachdatei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Wrong voice file</source>
        <translation>Ungültige Sprachdatei</translation>
    </message>
    <message>
        <source>Can not create wave file</source>
        <translation>Die WAV-Datei kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Can not write wave file</source>
        <translation>Die WAV-Datei kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Can not read voice file</source>
        <translation>Die Sprachdatei kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Manager for the Tovix portable audio player and voice recorder.</source>
        <translation>Verwaltungsprogramm für den tragbaren Audioplayer und Sprachrekorder Tovix.</translation>
    </message>
    <message>
        <source>Voice recordings to show in the PC pane.</source>
        <translation>Sprachaufnahmen, die im PC-Bereich angezeigt werden.</translation>
    </message>
    <message>
        <source>[FILE...]</source>
        <translation>[DATEI...]</translation>
    </message>
</context>
</TS>
