<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nb" sourcelanguage="nb">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.</source>
        <translation>Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.</translation>
    </message>
    <message>
        <source>Om %1</source>
        <translation>Om %1</translation>
    </message>
    <message>
        <source>Versjon : %1.%2.%3</source>
        <translation>Versjon : %1.%2.%3</translation>
    </message>
    <message>
        <source>Telefon : %1</source>
        <translation>Telefon : %1</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Ok</translation>
    </message>
    <message>
        <source>&amp;Systeminfo...</source>
        <translation>&amp;Systeminfo...</translation>
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
        <translation>&amp;Nytt spill</translation>
    </message>
    <message>
        <source>Hvor er &amp;jeg?</source>
        <translation>Hvor er &amp;jeg?</translation>
    </message>
    <message>
        <source>&amp;Avslutt</source>
        <translation>&amp;Avslutt</translation>
    </message>
    <message>
        <source>&amp;Høyere</source>
        <translation>&amp;Høyere</translation>
    </message>
    <message>
        <source>&amp;Lavere</source>
        <translation>&amp;Lavere</translation>
    </message>
    <message>
        <source>Lyd i &amp;begge ører</source>
        <translation>Lyd i &amp;begge ører</translation>
    </message>
    <message>
        <source>&amp;Hvordan brukes spillet</source>
        <translation>&amp;Hvordan brukes spillet</translation>
    </message>
    <message>
        <source>Hør &amp;lydene</source>
        <translation>Hør &amp;lydene</translation>
    </message>
    <message>
        <source>&amp;Send E-post</source>
        <translation>&amp;Send E-post</translation>
    </message>
    <message>
        <source>&amp;Om %1</source>
        <translation>&amp;Om %1</translation>
    </message>
    <message>
        <source>&amp;Spill</source>
        <translation>&amp;Spill</translation>
    </message>
    <message>
        <source>&amp;Lyd</source>
        <translation>&amp;Lyd</translation>
    </message>
    <message>
        <source>&amp;Hjelp</source>
        <translation>&amp;Hjelp</translation>
    </message>
</context>
<context>
    <name>FeedbackMail</name>
    <message>
        <source>%1 versjon %2.%3</source>
        <translation>%1 versjon %2.%3</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Velg antall rom:</source>
        <translation>Velg antall rom:</translation>
    </message>
    <message>
        <source>Velg antall rom</source>
        <translation>Velg antall rom</translation>
    </message>
    <message>
        <source>Dør %1</source>
        <translation>Dør %1</translation>
    </message>
    <message>
        <source>&amp;Skjermleser</source>
        <translation>&amp;Skjermleser</translation>
    </message>
    <message>
        <source>&amp;Automatisk</source>
        <translation>&amp;Automatisk</translation>
    </message>
    <message>
        <source>&amp;På</source>
        <translation>&amp;På</translation>
    </message>
    <message>
        <source>A&amp;v</source>
        <translation>A&amp;v</translation>
    </message>
</context>
<context>
    <name>SoundPlayer</name>
    <message>
        <source>Kan ikke åpne lydfilen: %1</source>
        <translation>Kan ikke åpne lydfilen: %1</translation>
    </message>
    <message>
        <source>Lydenheten forsvant. Velkarn går videre uten lyd.</source>
        <translation>Lydenheten forsvant. Velkarn går videre uten lyd.</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>Norsk</source>
        <comment>the name of this language, in itself</comment>
        <translation>Norsk</translation>
    </message>
</context>
<context>
    <name>Velkarn</name>
    <message>
        <source>Velkarn kan ikke språket «%1». Det kan: %2.</source>
        <translation>Velkarn kan ikke språket «%1». Det kan: %2.</translation>
    </message>
    <message>
        <source>Fant ingen lydenhet. Velkarn går videre uten lyd.</source>
        <translation>Fant ingen lydenhet. Velkarn går videre uten lyd.</translation>
    </message>
    <message>
        <source>Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.</source>
        <translation>Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.</translation>
    </message>
    <message>
        <source>Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.</source>
        <translation>Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.</translation>
    </message>
</context>
</TS>
