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
    <name>SoundPlayer</name>
    <message>
        <source>Kan ikke åpne lydfilen: %1</source>
        <translation>Cannot open the sound file: %1</translation>
    </message>
    <message>
        <source>Lydenheten forsvant. Velkarn går videre uten lyd.</source>
        <translation>The sound device went away. Velkarn goes on without sound.</translation>
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
