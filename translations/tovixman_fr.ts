<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>CopyContext</name>
    <message>
        <source>it changed while it was being copied</source>
        <translation>il a été modifié pendant la copie</translation>
    </message>
    <message>
        <source>it is neither a file, a folder nor a link</source>
        <translation>ce n&apos;est ni un fichier, ni un dossier, ni un lien</translation>
    </message>
</context>
<context>
    <name>FileClipboard</name>
    <message>
        <source>These were left out, as they do not name a file on this computer by its full path:
</source>
        <translation>Ces éléments ont été ignorés, car ils ne désignent pas un fichier de cet ordinateur par son chemin complet&#xa0;:
</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Co&amp;ller</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Nouveau dossier</translation>
    </message>
    <message>
        <source>Re&amp;fresh</source>
        <translation>&amp;Actualiser</translation>
    </message>
</context>
<context>
    <name>FileCopier</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>put back %1</source>
        <translation>%1 remis en place</translation>
    </message>
    <message>
        <source>recovered %1 beside files changed since</source>
        <translation>%1 récupéré à côté des fichiers modifiés depuis</translation>
    </message>
    <message>
        <source>could not put back %1, kept in a hidden .tovix-copy- folder</source>
        <translation>impossible de remettre %1 en place, conservé dans un dossier caché .tovix-copy-</translation>
    </message>
    <message>
        <source>After a copy cut short: %1.</source>
        <translation>Après une copie interrompue&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Kept %1, as files were put into them while the copy ran.</source>
        <translation>%1 conservé, car des fichiers y ont été placés pendant la copie.</translation>
    </message>
    <message>
        <source>Not removed from where they were, as they changed during the move: %1.</source>
        <translation>Non supprimés de leur emplacement d&apos;origine, car ils ont changé pendant le déplacement&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Cannot open the folder &quot;%1&quot;: %2.</source>
        <translation>Impossible d&apos;ouvrir le dossier «&#xa0;%1&#xa0;»&#xa0;: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was copied, but could not be removed from where it was: %2.</source>
        <translation>«&#xa0;%1&#xa0;» a été copié, mais n&apos;a pas pu être supprimé de son emplacement d&apos;origine&#xa0;: %2.</translation>
    </message>
    <message>
        <source>Cannot move &quot;%1&quot;: %2.</source>
        <translation>Impossible de déplacer «&#xa0;%1&#xa0;»&#xa0;: %2.</translation>
    </message>
    <message>
        <source>Cannot copy &quot;%1&quot;: %2.</source>
        <translation>Impossible de copier «&#xa0;%1&#xa0;»&#xa0;: %2.</translation>
    </message>
    <message>
        <source>Cannot move the folder &quot;%1&quot; into itself.</source>
        <translation>Impossible de déplacer le dossier «&#xa0;%1&#xa0;» dans lui-même.</translation>
    </message>
    <message>
        <source>Cannot copy the folder &quot;%1&quot; into itself.</source>
        <translation>Impossible de copier le dossier «&#xa0;%1&#xa0;» dans lui-même.</translation>
    </message>
    <message>
        <source>Cannot replace &quot;%1&quot; with an item it holds.</source>
        <translation>Impossible de remplacer «&#xa0;%1&#xa0;» par un élément qu&apos;il contient.</translation>
    </message>
</context>
<context>
    <name>FileItemModel</name>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Date de modification</translation>
    </message>
</context>
<context>
    <name>FolderTree</name>
    <message>
        <source>New Folder</source>
        <translation>Nouveau dossier</translation>
    </message>
</context>
<context>
    <name>FolderView</name>
    <message>
        <source>New Folder</source>
        <translation>Nouveau dossier</translation>
    </message>
    <message>
        <source>These names are not valid text in this system&apos;s encoding and can not be copied or moved; rename them first:
%1</source>
        <translation>Ces noms ne sont pas un texte valide dans l&apos;encodage de ce système et ne peuvent être ni copiés ni déplacés&#xa0;; renommez-les d&apos;abord&#xa0;:
%1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportRun</name>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 et %n autre</numerusform>
            <numerusform>%1 et %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>No new recordings to import.</source>
        <translation>Rien de nouveau à importer.</translation>
    </message>
    <message numerus="yes">
        <source>%n recording imported.</source>
        <translation>
            <numerusform>%n enregistrement importé.</numerusform>
            <numerusform>%n enregistrements importés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n recordings imported.</source>
        <translation>
            <numerusform>%n enregistrement importé.</numerusform>
            <numerusform>%n enregistrements importés.</numerusform>
        </translation>
    </message>
    <message>
        <source>No recordings were imported.</source>
        <translation>Aucun enregistrement importé.</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n new recordings imported.</source>
        <translation>
            <numerusform>%1 sur %n nouvel enregistrement importé.</numerusform>
            <numerusform>%1 sur %n nouveaux enregistrements importés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Under a new name, as their names were taken: %1.</source>
        <translation>
            <numerusform>Sous un nouveau nom, car son nom était déjà pris : %1.</numerusform>
            <numerusform>Sous de nouveaux noms, car leurs noms étaient déjà pris : %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
</context>
<context>
    <name>ListenSession</name>
    <message>
        <source>Sound output stopped: the sound server went away.</source>
        <translation>Sortie audio arrêtée : le serveur de son a disparu.</translation>
    </message>
    <message>
        <source>No sound output: the sound server can not be reached.</source>
        <translation>Aucune sortie audio : le serveur de son est injoignable.</translation>
    </message>
    <message>
        <source>Playing %1 ended early: the file became shorter while it played.</source>
        <translation>La lecture de %1 s&apos;est arrêtée plus tôt : le fichier a raccourci pendant la lecture.</translation>
    </message>
    <message>
        <source>it is larger than the listening cache (256 MiB)</source>
        <translation>il est plus grand que le cache d&apos;écoute (256 Mio)</translation>
    </message>
    <message>
        <source>the listening cache %1 can not be written</source>
        <translation>le cache d&apos;écoute %1 ne peut pas être écrit</translation>
    </message>
</context>
<context>
    <name>MprisPlayerAdaptor</name>
    <message>
        <source>Only local voice recordings, wave and MP3 files can be opened.</source>
        <translation>Seuls les enregistrements vocaux, fichiers WAVE et MP3 locaux peuvent être ouverts.</translation>
    </message>
</context>
<context>
    <name>NameList</name>
    <message numerus="yes">
        <source>and %n more.</source>
        <translation>
            <numerusform>et %n autre.</numerusform>
            <numerusform>et %n autres.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PcFileOperations</name>
    <message>
        <source>the move of &quot;%1&quot; into &quot;%2&quot;</source>
        <translation>le déplacement de «&#xa0;%1&#xa0;» vers «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>the copy of &quot;%1&quot; into &quot;%2&quot;</source>
        <translation>la copie de «&#xa0;%1&#xa0;» vers «&#xa0;%2&#xa0;»</translation>
    </message>
    <message numerus="yes">
        <source>the move of %n items into &quot;%1&quot;</source>
        <translation>
            <numerusform>le déplacement de %n élément vers «&#xa0;%1&#xa0;»</numerusform>
            <numerusform>le déplacement de %n éléments vers «&#xa0;%1&#xa0;»</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the copy of %n items into &quot;%1&quot;</source>
        <translation>
            <numerusform>la copie de %n élément vers «&#xa0;%1&#xa0;»</numerusform>
            <numerusform>la copie de %n éléments vers «&#xa0;%1&#xa0;»</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled before it began: %1.</source>
        <translation>Annulé avant de commencer&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Cancelled before they began: %1.</source>
        <translation>Annulés avant de commencer&#xa0;: %1.</translation>
    </message>
    <message>
        <source>A folder named &quot;%1&quot; already exists in &quot;%2&quot;.
Replace it, skip this one, or keep both?</source>
        <translation>Un dossier nommé «&#xa0;%1&#xa0;» existe déjà dans «&#xa0;%2&#xa0;».
Le remplacer, l&apos;ignorer ou conserver les deux&#xa0;?</translation>
    </message>
    <message>
        <source>A file named &quot;%1&quot; already exists in &quot;%2&quot;.
Replace it, skip this one, or keep both?</source>
        <translation>Un fichier nommé «&#xa0;%1&#xa0;» existe déjà dans «&#xa0;%2&#xa0;».
Le remplacer, l&apos;ignorer ou conserver les deux&#xa0;?</translation>
    </message>
</context>
<context>
    <name>PlayBar</name>
    <message>
        <source>Play or pause</source>
        <translation>Lecture ou pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Back 5 seconds</source>
        <translation>Reculer de 5 secondes</translation>
    </message>
    <message>
        <source>Forward 5 seconds</source>
        <translation>Avancer de 5 secondes</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Plus lent</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Plus rapide</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Loudness overview</source>
        <translation>Aperçu du volume sonore</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Position and length</source>
        <translation>Position et durée</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Volume: %1%</source>
        <translation>Volume : %1%</translation>
    </message>
    <message>
        <source>Copying... %1%</source>
        <translation>Copie... %1%</translation>
    </message>
    <message>
        <source>%1 / %2 (%3% copied)</source>
        <translation>%1 / %2 (%3% copié)</translation>
    </message>
</context>
<context>
    <name>PlaybackDecoder</name>
    <message>
        <source>it is not a voice recording</source>
        <translation>ce n&apos;est pas un enregistrement vocal</translation>
    </message>
    <message>
        <source>it is not an MP3 file</source>
        <translation>ce n&apos;est pas un fichier MP3</translation>
    </message>
    <message>
        <source>the file can not be opened</source>
        <translation>le fichier ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>ce n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>only voice recordings, wave files and MP3 files can be played</source>
        <translation>seuls les enregistrements vocaux, les fichiers WAV et les fichiers MP3 peuvent être lus</translation>
    </message>
    <message>
        <source>it holds no sound</source>
        <translation>il ne contient aucun son</translation>
    </message>
    <message>
        <source>it is not a PCM wave file with 16-bit samples</source>
        <translation>ce n&apos;est pas un fichier WAV PCM à échantillons de 16 bits</translation>
    </message>
</context>
<context>
    <name>PlayerState</name>
    <message>
        <source>memory card exists</source>
        <translation>carte présente</translation>
    </message>
    <message>
        <source>no memory card</source>
        <translation>aucune carte</translation>
    </message>
    <message>
        <source>wrong memory card</source>
        <translation>carte incorrecte</translation>
    </message>
    <message>
        <source>currupted memory card</source>
        <translation>carte endommagée</translation>
    </message>
    <message>
        <source>write protected</source>
        <translation>protégé en écriture</translation>
    </message>
    <message>
        <source>writable</source>
        <translation>inscriptible</translation>
    </message>
    <message numerus="yes">
        <source>Internal (%1 Kb [%2%] Free) - %n File(s)</source>
        <translation>
            <numerusform>Interne (%1 Ko [%2%] libres) - %n fichier</numerusform>
            <numerusform>Interne (%1 Ko [%2%] libres) - %n fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>External (%1 kb [%2%] Free) - %n File(s)</source>
        <translation>
            <numerusform>Externe (%1 Ko [%2%] libres) - %n fichier</numerusform>
            <numerusform>Externe (%1 Ko [%2%] libres) - %n fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file on Internal Memory and %1 on Memory Card are not listed: the player lists %2 files per memory at most.</source>
        <translation>
            <numerusform>%n fichier de la mémoire interne et %1 de la carte mémoire ne sont pas listés : le lecteur liste au plus %2 fichiers par mémoire.</numerusform>
            <numerusform>%n fichiers de la mémoire interne et %1 de la carte mémoire ne sont pas listés : le lecteur liste au plus %2 fichiers par mémoire.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files on Internal Memory and %1 on Memory Card are not listed: the player lists %2 files per memory at most.</source>
        <translation>
            <numerusform>%n fichier de la mémoire interne et %1 de la carte mémoire ne sont pas listés : le lecteur liste au plus %2 fichiers par mémoire.</numerusform>
            <numerusform>%n fichiers de la mémoire interne et %1 de la carte mémoire ne sont pas listés : le lecteur liste au plus %2 fichiers par mémoire.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file on Internal Memory is not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n fichier de la mémoire interne n&apos;est pas listé : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
            <numerusform>%n fichiers de la mémoire interne ne sont pas listés : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files on Internal Memory are not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n fichier de la mémoire interne n&apos;est pas listé : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
            <numerusform>%n fichiers de la mémoire interne ne sont pas listés : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file on Memory Card is not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n fichier de la carte mémoire n&apos;est pas listé : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
            <numerusform>%n fichiers de la carte mémoire ne sont pas listés : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files on Memory Card are not listed: the player lists %1 files per memory at most.</source>
        <translation>
            <numerusform>%n fichier de la carte mémoire n&apos;est pas listé : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
            <numerusform>%n fichiers de la carte mémoire ne sont pas listés : le lecteur liste au plus %1 fichiers par mémoire.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 holds %2 files; %n of them is not listed and will be erased too.</source>
        <translation>
            <numerusform>%1 : %2 fichiers, dont %n n&apos;est pas listé et sera aussi effacé.</numerusform>
            <numerusform>%1 : %2 fichiers, dont %n ne sont pas listés et seront aussi effacés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 holds %2 files; %n of them are not listed and will be erased too.</source>
        <translation>
            <numerusform>%1 : %2 fichiers, dont %n n&apos;est pas listé et sera aussi effacé.</numerusform>
            <numerusform>%1 : %2 fichiers, dont %n ne sont pas listés et seront aussi effacés.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Remplacer</translation>
    </message>
    <message>
        <source>&amp;Keep both</source>
        <translation>&amp;Conserver les deux</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Ignorer</translation>
    </message>
</context>
<context>
    <name>PulseSink</name>
    <message>
        <source>Listening</source>
        <translation>Lecture</translation>
    </message>
</context>
<context>
    <name>Queue</name>
    <message>
        <source>Downloading...</source>
        <translation>Téléchargement...</translation>
    </message>
    <message>
        <source>Uploading...</source>
        <translation>Téléversement...</translation>
    </message>
    <message>
        <source>Removing...</source>
        <translation>Suppression...</translation>
    </message>
    <message>
        <source>Formatting...</source>
        <translation>Formatage...</translation>
    </message>
    <message>
        <source>Copying to listen...</source>
        <translation>Copie pour l&apos;écoute...</translation>
    </message>
    <message>
        <source>Download &quot;%1&quot; to Memory Card</source>
        <translation>Télécharger « %1 » vers la carte mémoire</translation>
    </message>
    <message>
        <source>Download &quot;%1&quot; to Internal Memory</source>
        <translation>Télécharger « %1 » vers la mémoire interne</translation>
    </message>
    <message>
        <source>Upload &quot;%1&quot; in Memory Card to PC</source>
        <translation>Téléverser « %1 » de la carte mémoire vers le PC</translation>
    </message>
    <message>
        <source>Upload &quot;%1&quot; in Internal Memory to PC</source>
        <translation>Téléverser « %1 » de la mémoire interne vers le PC</translation>
    </message>
    <message>
        <source>Remove &quot;%1&quot; in Memory Card</source>
        <translation>Supprimer « %1 » de la carte mémoire</translation>
    </message>
    <message>
        <source>Remove &quot;%1&quot; in Internal Memory</source>
        <translation>Supprimer « %1 » de la mémoire interne</translation>
    </message>
    <message>
        <source>Format Memory Card</source>
        <translation>Formater la carte mémoire</translation>
    </message>
    <message>
        <source>Format Internal Memory</source>
        <translation>Formater la mémoire interne</translation>
    </message>
    <message numerus="yes">
        <source>%n operation failed.</source>
        <translation>
            <numerusform>%n opération a échoué.</numerusform>
            <numerusform>%n opérations ont échoué.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n operations failed.</source>
        <translation>
            <numerusform>%n opération a échoué.</numerusform>
            <numerusform>%n opérations ont échoué.</numerusform>
        </translation>
    </message>
    <message>
        <source>This operation failed:</source>
        <translation>Cette opération a échoué :</translation>
    </message>
    <message numerus="yes">
        <source>These %n operations failed:</source>
        <translation>
            <numerusform>Cette %n opération a échoué :</numerusform>
            <numerusform>Ces %n opérations ont échoué :</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TForm_About</name>
    <message>
        <source>About...</source>
        <translation>À propos...</translation>
    </message>
    <message>
        <source>Version Number 1.3</source>
        <translation>Numéro de version 1.3</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>TForm_TargetSelection</name>
    <message>
        <source>Select Target</source>
        <translation>Choisir la cible</translation>
    </message>
    <message>
        <source>Internal Memory</source>
        <translation>Mémoire interne</translation>
    </message>
    <message>
        <source>External memory card</source>
        <translation>Carte mémoire</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>TForm_TovixMan</name>
    <message>
        <source>The folder &quot;%1&quot; did not answer, so &quot;%2&quot; is shown.</source>
        <translation>Le dossier « %1 » n&apos;a pas répondu, « %2 » est donc affiché.</translation>
    </message>
    <message>
        <source>Converting &quot;%1&quot;...</source>
        <translation>Conversion de « %1 »...</translation>
    </message>
    <message>
        <source>not converted</source>
        <translation>non converti</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was replaced during its conversion; the new file is kept.</source>
        <translation>« %1 » a été remplacé pendant sa conversion ; le nouveau fichier est conservé.</translation>
    </message>
    <message>
        <source>Write protected. Can not download any files.</source>
        <translation>Protégé en écriture. Impossible de télécharger des fichiers.</translation>
    </message>
    <message>
        <source>Sorry, can not download folder</source>
        <translation>Désolé, impossible de télécharger un dossier</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: its path is longer than %2 characters.</source>
        <translation>Impossible de télécharger « %1 » : son chemin dépasse %2 caractères.</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: files of 2 GB or more are not supported.</source>
        <translation>Impossible de télécharger « %1 » : les fichiers de 2 Go ou plus ne sont pas pris en charge.</translation>
    </message>
    <message>
        <source>Not enough external memory.</source>
        <translation>Mémoire externe insuffisante.</translation>
    </message>
    <message>
        <source>Not enough internal memory.</source>
        <translation>Mémoire interne insuffisante.</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: too much is already queued for the memory card. Wait for the queue to finish.</source>
        <translation>Impossible de télécharger « %1 » : trop de données sont déjà dans la file d&apos;attente pour la carte mémoire. Attendez que la file d&apos;attente soit terminée.</translation>
    </message>
    <message>
        <source>Can not download &quot;%1&quot;: too much is already queued for the internal memory. Wait for the queue to finish.</source>
        <translation>Impossible de télécharger « %1 » : trop de données sont déjà dans la file d&apos;attente pour la mémoire interne. Attendez que la file d&apos;attente soit terminée.</translation>
    </message>
    <message>
        <source>Please select files to download</source>
        <translation>Veuillez sélectionner les fichiers à télécharger</translation>
    </message>
    <message>
        <source>File reading failed.</source>
        <translation>La lecture du fichier a échoué.</translation>
    </message>
    <message>
        <source>No new recordings to import.</source>
        <translation>Rien de nouveau à importer.</translation>
    </message>
    <message>
        <source>New recordings will be imported into %1 when the player is attached.</source>
        <translation>Les nouveaux enregistrements seront importés dans %1 à la connexion du lecteur.</translation>
    </message>
    <message>
        <source>Recordings not imported: the folder %1 is not there.</source>
        <translation>Enregistrements non importés : le dossier %1 n&apos;existe pas.</translation>
    </message>
    <message numerus="yes">
        <source>%n recording queued for import.</source>
        <translation>
            <numerusform>%n enregistrement à importer.</numerusform>
            <numerusform>%n enregistrements à importer.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n recordings queued for import.</source>
        <translation>
            <numerusform>%n enregistrement à importer.</numerusform>
            <numerusform>%n enregistrements à importer.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Nouveau dossier</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Download selected files from PC to Player</source>
        <translation>&amp;Télécharger les fichiers sélectionnés du PC vers le lecteur</translation>
    </message>
    <message>
        <source>&amp;Upload selected files from Player to PC</source>
        <translation>Télé&amp;verser les fichiers sélectionnés du lecteur vers le PC</translation>
    </message>
    <message>
        <source>&amp;Import new recordings</source>
        <translation>&amp;Importer les nouveaux enregistrements</translation>
    </message>
    <message>
        <source>Import new recordings when the player is a&amp;ttached</source>
        <translation>Importer les nouveaux enregistrements à la &amp;connexion du lecteur</translation>
    </message>
    <message>
        <source>&amp;Remove selected file(s) from Player</source>
        <translation>&amp;Supprimer le(s) fichier(s) sélectionné(s) du lecteur</translation>
    </message>
    <message>
        <source>Remove &amp;all files from Player</source>
        <translation>Supprimer to&amp;us les fichiers du lecteur</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Formater</translation>
    </message>
    <message>
        <source>Format all &amp;memories</source>
        <translation>Formater toutes les &amp;mémoires</translation>
    </message>
    <message>
        <source>&amp;Cancel selected/checked operation(s) in queue</source>
        <translation>&amp;Annuler les opérations sélectionnées/cochées de la file d&apos;attente</translation>
    </message>
    <message>
        <source>Cancel all &amp;operations</source>
        <translation>Annuler toutes les &amp;opérations</translation>
    </message>
    <message>
        <source>&amp;Big icons</source>
        <translation>&amp;Grandes icônes</translation>
    </message>
    <message>
        <source>&amp;Small icons</source>
        <translation>&amp;Petites icônes</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Détails</translation>
    </message>
    <message>
        <source>Wendaro Homepage</source>
        <translation>Site web de Wendaro</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>&amp;Opérations</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;PC</source>
        <translation>&amp;PC</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aid&amp;e</translation>
    </message>
    <message>
        <source>&amp;Upload selected files in Player to PC</source>
        <translation>&amp;Téléverser les fichiers sélectionnés du lecteur vers le PC</translation>
    </message>
    <message>
        <source>Upload &amp;all files in Player to PC</source>
        <translation>Téléverser t&amp;ous les fichiers du lecteur vers le PC</translation>
    </message>
    <message>
        <source>&amp;Remove selected files in Player</source>
        <translation>&amp;Supprimer les fichiers sélectionnés du lecteur</translation>
    </message>
    <message>
        <source>Remove a&amp;ll files</source>
        <translation>Supprimer to&amp;us les fichiers</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Nom</translation>
    </message>
    <message>
        <source>S&amp;torage</source>
        <translation>&amp;Stockage</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Taille</translation>
    </message>
    <message>
        <source>&amp;Date</source>
        <translation>&amp;Date</translation>
    </message>
    <message>
        <source>&amp;Attributes</source>
        <translation>&amp;Attributs</translation>
    </message>
    <message>
        <source>Cancel &amp;all operations</source>
        <translation>Annuler &amp;toutes les opérations</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Big Icons</source>
        <translation>Grandes icônes</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Petites icônes</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Détails</translation>
    </message>
    <message>
        <source>Download to Player</source>
        <translation>Télécharger vers le lecteur</translation>
    </message>
    <message>
        <source>Upload from Player</source>
        <translation>Téléverser depuis le lecteur</translation>
    </message>
    <message>
        <source>Remove Track</source>
        <translation>Supprimer la piste</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formater</translation>
    </message>
    <message>
        <source>Import new recordings</source>
        <translation>Importer les nouveaux enregistrements</translation>
    </message>
    <message>
        <source>Show all of internal/external files</source>
        <translation>Afficher tous les fichiers internes/externes</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Hors ligne</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Stockage</translation>
    </message>
    <message>
        <source>All Files in Internal memory and external memory card</source>
        <translation>Tous les fichiers de la mémoire interne et de la carte mémoire externe</translation>
    </message>
    <message>
        <source>Unable to Internal Memory</source>
        <translation>Mémoire interne indisponible</translation>
    </message>
    <message>
        <source>Files in internal memory</source>
        <translation>Fichiers de la mémoire interne</translation>
    </message>
    <message>
        <source>Unable to External Memory</source>
        <translation>Mémoire externe indisponible</translation>
    </message>
    <message>
        <source>Files in external memory card</source>
        <translation>Fichiers de la carte mémoire externe</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Tout</translation>
    </message>
    <message>
        <source>Internal Memory</source>
        <translation>Mémoire interne</translation>
    </message>
    <message>
        <source>Memory Card</source>
        <translation>Carte mémoire</translation>
    </message>
    <message>
        <source>External Memory</source>
        <translation>Mémoire externe</translation>
    </message>
    <message>
        <source>Not Connected</source>
        <translation>Non connecté</translation>
    </message>
    <message>
        <source>PC tool bar</source>
        <translation>Barre d&apos;outils du PC</translation>
    </message>
    <message>
        <source>Refresh PC folder</source>
        <translation>Actualiser le dossier du PC</translation>
    </message>
    <message>
        <source>PC folders</source>
        <translation>Dossiers du PC</translation>
    </message>
    <message>
        <source>PC files</source>
        <translation>Fichiers du PC</translation>
    </message>
    <message>
        <source>Player tool bar</source>
        <translation>Barre d&apos;outils du lecteur</translation>
    </message>
    <message>
        <source>Refresh player files</source>
        <translation>Actualiser les fichiers du lecteur</translation>
    </message>
    <message>
        <source>Remove selected player files</source>
        <translation>Supprimer les fichiers sélectionnés du lecteur</translation>
    </message>
    <message>
        <source>Format player memory</source>
        <translation>Formater la mémoire du lecteur</translation>
    </message>
    <message>
        <source>Player files</source>
        <translation>Fichiers du lecteur</translation>
    </message>
    <message>
        <source>All player files</source>
        <translation>Tous les fichiers du lecteur</translation>
    </message>
    <message>
        <source>Internal memory files</source>
        <translation>Fichiers de la mémoire interne</translation>
    </message>
    <message>
        <source>Memory card files</source>
        <translation>Fichiers de la carte mémoire</translation>
    </message>
    <message>
        <source>Internal memory usage</source>
        <translation>Occupation de la mémoire interne</translation>
    </message>
    <message>
        <source>Memory card usage</source>
        <translation>Occupation de la carte mémoire</translation>
    </message>
    <message>
        <source>Operation queue</source>
        <translation>File d&apos;attente des opérations</translation>
    </message>
    <message>
        <source>Operation running</source>
        <translation>Opération en cours</translation>
    </message>
    <message>
        <source>PC</source>
        <translation>PC</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Plus d&apos;outils</translation>
    </message>
    <message>
        <source>Player connection</source>
        <translation>Connexion du lecteur</translation>
    </message>
    <message>
        <source>Memory card state</source>
        <translation>État de la carte mémoire</translation>
    </message>
    <message>
        <source>Write protection</source>
        <translation>Protection en écriture</translation>
    </message>
    <message>
        <source>Latest event</source>
        <translation>Dernier événement</translation>
    </message>
    <message>
        <source>Time the running operation has taken</source>
        <translation>Durée de l&apos;opération en cours</translation>
    </message>
    <message numerus="yes">
        <source>%n second</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Play / Pause</source>
        <translation>&amp;Lecture / Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>&amp;Back 5 seconds</source>
        <translation>&amp;Reculer de 5 secondes</translation>
    </message>
    <message>
        <source>&amp;Forward 5 seconds</source>
        <translation>&amp;Avancer de 5 secondes</translation>
    </message>
    <message>
        <source>S&amp;lower by 0.1x</source>
        <translation>Plus &amp;lent de 0,1x</translation>
    </message>
    <message>
        <source>&amp;Faster by 0.1x</source>
        <translation>Plus &amp;rapide de 0,1x</translation>
    </message>
    <message>
        <source>&amp;Go to time...</source>
        <translation>&amp;Aller au temps...</translation>
    </message>
    <message>
        <source>&amp;Rewind 2 seconds on pause</source>
        <translation>&amp;Revenir de 2 secondes à la pause</translation>
    </message>
    <message>
        <source>&amp;Listen</source>
        <translation>&amp;Lecture</translation>
    </message>
    <message>
        <source>Play bar</source>
        <translation>Barre de lecture</translation>
    </message>
    <message>
        <source>Listening to %1</source>
        <translation>Écoute de %1</translation>
    </message>
    <message>
        <source>Can not play %1: %2.</source>
        <translation>Impossible de lire %1 : %2.</translation>
    </message>
    <message>
        <source>Please select a recording to listen to</source>
        <translation>Veuillez sélectionner un enregistrement à écouter</translation>
    </message>
    <message>
        <source>Listening to %1; %2 could not be played</source>
        <translation>Écoute de %1 ; %2 n&apos;ont pas pu être lues</translation>
    </message>
    <message>
        <source>Can not play %1: only voice recordings, wave files and MP3 files can be played.</source>
        <translation>Impossible de lire %1 : seuls les enregistrements vocaux, les fichiers WAV et les fichiers MP3 peuvent être lus.</translation>
    </message>
    <message>
        <source>the cache folder&apos;s path is too long</source>
        <translation>le chemin du dossier de cache est trop long</translation>
    </message>
    <message>
        <source>Listen &quot;%1&quot; in %2</source>
        <translation>Écouter « %1 » dans %2</translation>
    </message>
    <message>
        <source>Rewind le&amp;ngth</source>
        <translation>Lo&amp;ngueur du retour arrière</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Plus lent</translation>
    </message>
    <message>
        <source>Slower by 0.1x (%1)</source>
        <translation>Plus lent de 0,1x (%1)</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Plus rapide</translation>
    </message>
    <message>
        <source>Faster by 0.1x (%1)</source>
        <translation>Plus rapide de 0,1x (%1)</translation>
    </message>
    <message>
        <source>P&amp;lay</source>
        <translation>&amp;Lire</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Lire</translation>
    </message>
    <message>
        <source>&amp;Rewind %1 on pause</source>
        <translation>&amp;Reculer de %1 à la pause</translation>
    </message>
    <message>
        <source>Go to time</source>
        <translation>Aller à l&apos;instant</translation>
    </message>
    <message>
        <source>Go to (m:ss or h:mm:ss):</source>
        <translation>Aller à (m:ss ou h:mm:ss) :</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time. Type minutes and seconds as m:ss (1:23) or hours, minutes and seconds as h:mm:ss (1:02:03).</source>
        <translation>« %1 » n&apos;est pas une durée. Saisissez les minutes et les secondes sous la forme m:ss (1:23) ou les heures, minutes et secondes sous la forme h:mm:ss (1:02:03).</translation>
    </message>
    <message>
        <source>%1 is past the end of the recording, which lasts %2.</source>
        <translation>%1 dépasse la fin de l&apos;enregistrement, qui dure %2.</translation>
    </message>
    <message>
        <source>Internal</source>
        <translation>Interne</translation>
    </message>
    <message>
        <source>MemCard</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>Can not play %1 while the player is being formatted: it has to be copied from the player first.</source>
        <translation>Impossible de lire %1 pendant le formatage du lecteur : l&apos;enregistrement doit d&apos;abord être copié depuis le lecteur.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be opened: it does not exist or cannot be read.</source>
        <translation>Impossible d&apos;ouvrir « %1 » : le fichier n&apos;existe pas ou ne peut pas être lu.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a voice recording.</source>
        <translation>« %1 » n&apos;est pas un enregistrement vocal.</translation>
    </message>
    <message numerus="yes">
        <source>and %n more.</source>
        <translation>
            <numerusform>et %n autre.</numerusform>
            <numerusform>et %n autres.</numerusform>
        </translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Nouveau dossier</translation>
    </message>
    <message>
        <source>Do you really want to delete the folder &quot;%1&quot; and everything in it ?</source>
        <translation>Voulez-vous vraiment supprimer le dossier « %1 » et tout son contenu ?</translation>
    </message>
    <message>
        <source>Player is connected.</source>
        <translation>Le lecteur est connecté.</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>non connecté</translation>
    </message>
    <message>
        <source>Player is disconnected.</source>
        <translation>Le lecteur est déconnecté.</translation>
    </message>
    <message>
        <source>Do you really want to format ?</source>
        <translation>Voulez-vous vraiment formater ?</translation>
    </message>
    <message>
        <source>Operation completed.</source>
        <translation>Opération terminée.</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Échec : %1</translation>
    </message>
    <message>
        <source>%1 (failed: %2)</source>
        <translation>%1 (échec : %2)</translation>
    </message>
    <message>
        <source>Waiting for the running operation to finish...</source>
        <translation>Attente de la fin de l&apos;opération en cours...</translation>
    </message>
    <message numerus="yes">
        <source>The running operation has not finished after %n seconds.
Quit anyway ? The file it is copying may be left incomplete.</source>
        <translation>
            <numerusform>L&apos;opération en cours n&apos;est pas terminée après %n seconde.
Quitter quand même ? Le fichier en cours de copie risque de rester incomplet.</numerusform>
            <numerusform>L&apos;opération en cours n&apos;est pas terminée après %n secondes.
Quitter quand même ? Le fichier en cours de copie risque de rester incomplet.</numerusform>
        </translation>
    </message>
    <message>
        <source>Can not remove &quot;%1&quot;: its name on the player is longer than %2 characters.</source>
        <translation>Impossible de supprimer « %1 » : son nom sur le lecteur dépasse %2 caractères.</translation>
    </message>
    <message>
        <source>Please select files to remove</source>
        <translation>Veuillez sélectionner les fichiers à supprimer</translation>
    </message>
    <message>
        <source>Do you really want to remove selected files ?</source>
        <translation>Voulez-vous vraiment supprimer les fichiers sélectionnés ?</translation>
    </message>
    <message>
        <source>Can not format when job remains</source>
        <translation>Impossible de formater tant que des opérations sont en attente</translation>
    </message>
    <message>
        <source>Can not upload &quot;%1&quot; (%2 on the player): that name can not be used for a file on the PC.</source>
        <translation>Impossible de téléverser « %1 » (%2 sur le lecteur) : ce nom ne peut pas être utilisé pour un fichier sur le PC.</translation>
    </message>
    <message>
        <source>Can not upload &quot;%1&quot;: its name on the player is longer than %2 characters.</source>
        <translation>Impossible de téléverser « %1 » : son nom sur le lecteur dépasse %2 caractères.</translation>
    </message>
    <message>
        <source>Can not upload &quot;%1&quot;: the path on the PC would be longer than %2 characters.</source>
        <translation>Impossible de téléverser « %1 » : le chemin sur le PC dépasserait %2 caractères.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists on the PC. Replace it ?</source>
        <translation>Le fichier « %1 » existe déjà sur le PC. Le remplacer ?</translation>
    </message>
    <message>
        <source>Please select files to upload</source>
        <translation>Veuillez sélectionner les fichiers à téléverser</translation>
    </message>
</context>
<context>
    <name>TransferProgressDialog</name>
    <message>
        <source>Copy progress</source>
        <translation>Progression de la copie</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Moving files</source>
        <translation>Déplacement des fichiers</translation>
    </message>
    <message>
        <source>Copying files</source>
        <translation>Copie des fichiers</translation>
    </message>
    <message>
        <source>Moving &quot;%1&quot;</source>
        <translation>Déplacement de «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Copying &quot;%1&quot;</source>
        <translation>Copie de «&#xa0;%1&#xa0;»</translation>
    </message>
</context>
<context>
    <name>VoiceMessages</name>
    <message>
        <source>File already exists, Overwrite ?</source>
        <translation>Le fichier existe déjà. L&apos;écraser ?</translation>
    </message>
    <message>
        <source>Can not open voice file</source>
        <translation>Impossible d&apos;ouvrir le fichier vocal</translation>
    </message>
    <message>
        <source>Wrong voice file</source>
        <translation>Fichier vocal incorrect</translation>
    </message>
    <message>
        <source>Can not create wave file</source>
        <translation>Impossible de créer le fichier WAV</translation>
    </message>
    <message>
        <source>Can not write wave file</source>
        <translation>Impossible d&apos;écrire le fichier WAV</translation>
    </message>
    <message>
        <source>Can not read voice file</source>
        <translation>Impossible de lire le fichier vocal</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Manager for the Tovix portable audio player and voice recorder.</source>
        <translation>Gestionnaire pour le baladeur audio et dictaphone portable Tovix.</translation>
    </message>
    <message>
        <source>Voice recordings to show in the PC pane.</source>
        <translation>Enregistrements vocaux à afficher dans le volet PC.</translation>
    </message>
    <message>
        <source>[FILE...]</source>
        <translation>[FICHIER...]</translation>
    </message>
</context>
</TS>
