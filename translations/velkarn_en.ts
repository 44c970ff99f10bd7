<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="nb">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.</source>
        <translation>Velkarn is free. You are welcome to copy the game and give it to others.</translation>
    </message>
    <message>
        <source>Om %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Versjon : %1.%2.%3</source>
        <translation>Version : %1.%2.%3</translation>
    </message>
    <message>
        <source>Telefon : %1</source>
        <translation>Telephone : %1</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Systeminfo...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>System Information Is Unavailable At This Time</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>&amp;Nytt spill</source>
        <translation>&amp;New game</translation>
    </message>
    <message>
        <source>Hvor er &amp;jeg?</source>
        <translation>&amp;Where am I?</translation>
    </message>
    <message>
        <source>&amp;Avslutt</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Høyere</source>
        <translation>&amp;Louder</translation>
    </message>
    <message>
        <source>&amp;Lavere</source>
        <translation>S&amp;ofter</translation>
    </message>
    <message>
        <source>Lyd i &amp;begge ører</source>
        <translation>Sound in &amp;both ears</translation>
    </message>
    <message>
        <source>&amp;Hvordan brukes spillet</source>
        <translation>&amp;How to play</translation>
    </message>
    <message>
        <source>Hør &amp;lydene</source>
        <translation>Hear the &amp;sounds</translation>
    </message>
    <message>
        <source>&amp;Send E-post</source>
        <translation>Send &amp;e-mail</translation>
    </message>
    <message>
        <source>&amp;Om %1</source>
        <translation>&amp;About %1</translation>
    </message>
    <message>
        <source>&amp;Spill</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>&amp;Lyd</source>
        <translation>&amp;Sound</translation>
    </message>
    <message>
        <source>&amp;Hjelp</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Innspilling...</source>
        <translation>Record the &amp;voice...</translation>
    </message>
</context>
<context>
    <name>FeedbackMail</name>
    <message>
        <source>%1 versjon %2.%3</source>
        <translation>%1 version %2.%3</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Velg antall rom:</source>
        <translation>Choose number of rooms:</translation>
    </message>
    <message>
        <source>Velg antall rom</source>
        <translation>Choose number of rooms</translation>
    </message>
    <message>
        <source>Dør %1</source>
        <translation>Door %1</translation>
    </message>
    <message>
        <source>&amp;Skjermleser</source>
        <translation>Screen &amp;reader</translation>
    </message>
    <message>
        <source>&amp;Automatisk</source>
        <translation>&amp;Automatic</translation>
    </message>
    <message>
        <source>&amp;På</source>
        <translation>&amp;On</translation>
    </message>
    <message>
        <source>A&amp;v</source>
        <translation>O&amp;ff</translation>
    </message>
</context>
<context>
    <name>RecordingDialog</name>
    <message>
        <source>Innspilling</source>
        <translation>Record the voice</translation>
    </message>
    <message>
        <source>&amp;Setninger:</source>
        <translation>&amp;Phrases:</translation>
    </message>
    <message>
        <source>Setninger</source>
        <translation>Phrases</translation>
    </message>
    <message>
        <source>Spill &amp;inn</source>
        <translation>&amp;Record</translation>
    </message>
    <message>
        <source>Spill inn</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>S&amp;topp</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>Stopp</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>&amp;Lytt</source>
        <translation>&amp;Listen</translation>
    </message>
    <message>
        <source>Lytt</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>&amp;Behold</source>
        <translation>&amp;Keep</translation>
    </message>
    <message>
        <source>Behold</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>&amp;Gjenopprett innebygd stemme</source>
        <translation>Restore the &amp;built-in voice</translation>
    </message>
    <message>
        <source>Gjenopprett innebygd stemme</source>
        <translation>Restore the built-in voice</translation>
    </message>
    <message>
        <source>&amp;Eksporter...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>Eksporter innspillingene til en mappe</source>
        <translation>Export the recordings to a folder</translation>
    </message>
    <message>
        <source>I&amp;mporter...</source>
        <translation>I&amp;mport...</translation>
    </message>
    <message>
        <source>Importer innspillinger fra en mappe</source>
        <translation>Import recordings from a folder</translation>
    </message>
    <message>
        <source>Lu&amp;kk</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Lydnivå</source>
        <translation>Input level</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Velg mappen innspillingene skal kopieres til</source>
        <translation>Choose the folder to copy the recordings to</translation>
    </message>
    <message>
        <source>Velg mappen med innspillingene</source>
        <translation>Choose the folder that holds the recordings</translation>
    </message>
    <message>
        <source>Spiller inn. Snakk nå, og trykk Stopp når du er ferdig.</source>
        <translation>Recording. Speak now, and press Stop when you are done.</translation>
    </message>
    <message>
        <source>Lytt til innspillingen, og behold den eller spill inn på nytt.</source>
        <translation>Listen to the recording, and keep it or record it again.</translation>
    </message>
    <message>
        <source> (egen innspilling)</source>
        <translation> (own recording)</translation>
    </message>
    <message>
        <source> (innebygd stemme)</source>
        <translation> (built-in voice)</translation>
    </message>
    <message>
        <source>Hei, og velkommen til Velkarn!</source>
        <translation>Hello, and welcome to Velkarn!</translation>
    </message>
    <message>
        <source>Velg antall rom med piltastene, og trykk Enter.</source>
        <translation>Choose the number of rooms with the arrow keys, and press Enter.</translation>
    </message>
    <message>
        <source>Velg dør en, to eller tre.</source>
        <translation>Choose door one, two or three.</translation>
    </message>
    <message>
        <source>Du er i rom</source>
        <translation>You are in room</translation>
    </message>
    <message>
        <source>av</source>
        <translation>of</translation>
    </message>
    <message>
        <source>Slik spiller du Velkarn. Hvert rom har tre dører. Dør en er til venstre, dør to er i midten, og dør tre er til høyre. Bare én av dem går opp. Trykk en, to eller tre for å velge en dør. Velger du feil dør, må du begynne på nytt i det første rommet, men de riktige dørene er de samme, så prøv å huske dem. Først velger du hvor mange rom du vil gå gjennom: trykk Tab for å komme til listen, bla med piltastene, og trykk Enter. F2 starter et nytt spill. F3 forteller hvilket rom du er i. F1 spiller denne hjelpen, og F4 spiller alle lydene i spillet. Pluss gjør lyden høyere, og minus gjør den lavere. Kontroll og M gir lyd i begge ører, for deg som hører best på ett øre. Escape eller Kontroll stopper lyden. Alt åpner menyene.</source>
        <translation>This is how you play Velkarn. Every room has three doors. Door one is on the left, door two is in the middle, and door three is on the right. Only one of them opens. Press one, two or three to choose a door. If you choose the wrong door, you must start again in the first room, but the right doors stay the same, so try to remember them. First you choose how many rooms you want to walk through: press Tab to reach the list, move through it with the arrow keys, and press Enter. F2 starts a new game. F3 tells you which room you are in. F1 plays this help, and F4 plays every sound in the game. Plus makes the sound louder, and minus makes it softer. Control and M give sound in both ears, for you who hear best with one ear. Escape or Control stops the sound. Alt opens the menus.</translation>
    </message>
    <message>
        <source>en</source>
        <translation>one</translation>
    </message>
    <message>
        <source>to</source>
        <translation>two</translation>
    </message>
    <message>
        <source>tre</source>
        <translation>three</translation>
    </message>
    <message>
        <source>fire</source>
        <translation>four</translation>
    </message>
    <message>
        <source>fem</source>
        <translation>five</translation>
    </message>
    <message>
        <source>seks</source>
        <translation>six</translation>
    </message>
    <message>
        <source>sju</source>
        <translation>seven</translation>
    </message>
    <message>
        <source>åtte</source>
        <translation>eight</translation>
    </message>
    <message>
        <source>ni</source>
        <translation>nine</translation>
    </message>
    <message>
        <source>ti</source>
        <translation>ten</translation>
    </message>
    <message>
        <source>elleve</source>
        <translation>eleven</translation>
    </message>
    <message>
        <source>tolv</source>
        <translation>twelve</translation>
    </message>
    <message>
        <source>tretten</source>
        <translation>thirteen</translation>
    </message>
    <message>
        <source>fjorten</source>
        <translation>fourteen</translation>
    </message>
    <message>
        <source>femten</source>
        <translation>fifteen</translation>
    </message>
    <message>
        <source>seksten</source>
        <translation>sixteen</translation>
    </message>
    <message>
        <source>sytten</source>
        <translation>seventeen</translation>
    </message>
    <message>
        <source>atten</source>
        <translation>eighteen</translation>
    </message>
    <message>
        <source>nitten</source>
        <translation>nineteen</translation>
    </message>
    <message>
        <source>tjue</source>
        <translation>twenty</translation>
    </message>
</context>
<context>
    <name>RecordingSession</name>
    <message>
        <source>Mikrofonen forsvant under innspillingen. Ingen innspilling er endret.</source>
        <translation>The microphone went away during the recording. No recording was changed.</translation>
    </message>
    <message>
        <source>Fant ingen mikrofon, så ingenting kan spilles inn. Koble til en mikrofon og prøv igjen. (%1)</source>
        <translation>No microphone was found, so nothing can be recorded. Connect a microphone and try again. (%1)</translation>
    </message>
    <message>
        <source>Det ble ikke hørt noen stemme i innspillingen. Ingen innspilling er endret; snakk nærmere mikrofonen og prøv igjen.</source>
        <translation>No voice was heard in the recording. No recording was changed; speak closer to the microphone and try again.</translation>
    </message>
    <message>
        <source>Innspillingen er lagret. Spillet bruker den nå.</source>
        <translation>The recording is saved. The game uses it now.</translation>
    </message>
    <message>
        <source>Kunne ikke slette %1.</source>
        <translation>Could not delete %1.</translation>
    </message>
    <message>
        <source>Den innebygde stemmen er tilbake.</source>
        <translation>The built-in voice is back.</translation>
    </message>
    <message>
        <source>Innspillingene er kopiert til %1.</source>
        <translation>The recordings are copied to %1.</translation>
    </message>
    <message>
        <source>Innspillingene er hentet inn.</source>
        <translation>The recordings are imported.</translation>
    </message>
    <message>
        <source>Disse filene ble ikke hentet inn, fordi de ikke er lydfiler Velkarn kan spille, eller ikke heter som en av setningene: %1</source>
        <translation>These files were not imported, because they are not sound files Velkarn can play, or are not named as one of the phrases: %1</translation>
    </message>
</context>
<context>
    <name>RecordingStore</name>
    <message>
        <source>Kunne ikke lagre innspillingen i %1.</source>
        <translation>Could not save the recording in %1.</translation>
    </message>
    <message>
        <source>Kunne ikke skrive %1 i mappen %2.</source>
        <translation>Could not write %1 in the folder %2.</translation>
    </message>
    <message>
        <source>Det finnes ingen egne innspillinger å eksportere.</source>
        <translation>There are no own recordings to export.</translation>
    </message>
</context>
<context>
    <name>SoundPlayer</name>
    <message>
        <source>Kan ikke åpne lydfilen: %1</source>
        <translation>Cannot open the sound file: %1</translation>
    </message>
    <message>
        <source>Lydenheten forsvant. Velkarn går videre uten lyd.</source>
        <translation>The sound device went away. Velkarn goes on without sound.</translation>
    </message>
    <message>
        <source>Din egen innspilling %1 kan ikke spilles. Velkarn bruker den innebygde stemmen.</source>
        <translation>Your own recording %1 cannot be played. Velkarn uses the built-in voice.</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>Norsk</source>
        <comment>the name of this language, in itself</comment>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>Velkarn</name>
    <message>
        <source>Velkarn kan ikke språket «%1». Det kan: %2.</source>
        <translation>Velkarn does not speak the language “%1”. It speaks: %2.</translation>
    </message>
    <message>
        <source>Fant ingen lydenhet. Velkarn går videre uten lyd.</source>
        <translation>No sound device was found. Velkarn goes on without sound.</translation>
    </message>
    <message>
        <source>Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.</source>
        <translation>No sounds were found in the folder %1. Velkarn goes on without sound.</translation>
    </message>
    <message>
        <source>Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.</source>
        <translation>Velkarn does not know the screen-reader choice “%1”. It can be: auto, on, off.</translation>
    </message>
</context>
</TS>
