#include "administration/TestSpec.h"

#include "app/Globals.h"

#include <QStringList>

#include <vector>

namespace varenta::administration {

namespace {

std::array<QString, 4> g_instructionText;
const StateReset resetTexts(ClearInstructionTexts);

// Lines of each instruction text, English 0..3 then Spanish 0..3.
const std::vector<std::vector<const char16_t*>> kInstructionLines = {
    // English, general
    {
        u"General Instructions",
        u"",
        u"Many statements in this inventory are personal.  Your answers will be considered "
        u"confidential.  Answer each statement truthfully and honestly.  Your court or driving "
        u"records may be used to check your answers.  Any dishonesty will likely be detected.",
        u"",
        u"A series of questions will be presented.  Read each statement carefully and choose the "
        u"answer that is accurate for you.  Once your answer is selected you should depress the "
        u"Down Arrow key to highlight the answer you selected and then press the Enter key.  An "
        u"answer is highlighted when it has light blue around it.",
        u"",
        u"You may use  the Up and  Down Arrow  keys  to change  answers,  but be sure  the answer "
        u"you selected is highlighted before you press  the Enter key.  You may  also use the  Tab "
        u"key to have the question repeated.",
        u"",
        u"Alcohol or drinking refers to beer, wine and other liquor.  Drugs refers to both "
        u"prescription drugs and non-prescription drugs like marijuana (pot), cocaine (coke), "
        u"crack, amphetamines, barbiturates and heroin.",
        u"",
        u"If you have any questions, ask the  testing supervisor for help.  When you understand "
        u"these instructions, you may begin. Press the Enter key to begin.",
    },
    // English, section 1
    {
        u"Section 1",
        u"",
        u"The statements in this section must be answered TRUE or FALSE.",
        u"",
        u"If a statement is TRUE highlight \"True\" then press Enter.",
        u"",
        u"If a statement is FALSE highlight \"False\" then press Enter.",
        u"",
        u"     Press Enter to begin.",
    },
    // English, section 2
    {
        u"Section 2",
        u"",
        u"The next series of statements contain items you should rate to describe yourself.  Rate "
        u"each statement by selecting the answer that is accurate for you.  For example:",
        u"",
        u"                                    Rare or Never",
        u"                                    Sometimes",
        u"                                    Often",
        u"                                    Very Often or Always",
        u"",
        u"Highlight the answer you select, then press Enter.",
        u"",
        u"     Press Enter to begin.",
    },
    // English, section 3
    {
        u"Section 3",
        u"",
        u"The statements in this section describe you or your situation. Highlight the answer (1, "
        u"2, 3 or 4) that is accurate for you, then press Enter. ",
        u"",
        u"     Press Enter to begin.",
    },
    // Spanish, general
    {
        u"Instrucciones",
        u"     Varias oraciones que aparecen en este cuaderno son de carácter íntimo.  Sus "
        u"respuestas se mantendrán en secreto. Conteste cada oración de forma veraz y honesta. Se "
        u"pudiera recurrir a sus expedientes judiciales o de tránsito para confirmar sus "
        u"respuestas. De seguro se detectará cualquier deshonestidad.",
        u"     Se le van a presentar varias preguntas. Lea cada oración con cuidado y escoja la "
        u"contestación que más le acierte a usted. Una vez usted haya escogido su contestación, "
        u"debe usted apretar la tecla con la flecha Hacia Abajo para así iluminar la contestación "
        u"que usted ha escogido. Y luego apriete la tecla «Enter». La contestación se ilumina "
        u"cuando tiene color azul claro brillando alrededor de ella.",
        u"     Usted puede usar las flechas Hacia Arriba y Hacia Abajo en sus teclas para cambiar "
        u"las contestaciones. Pero asegúrese de que la contestación que usted escoja esté "
        u"iluminada antes de que usted apriete la tecla «Enter». Además, usted puede utilizar la "
        u"tecla «Tab» para que le repitan la pregunta.",
        u"     «El licor» o «la bebida» implica cerveza, vino u otros destilados. «Las drogas» "
        u"significa tanto las recetadas como las sancionadas, tales como: la marihuana (fuma o "
        u"mota), cocaína (coca o perico), «crack» (piedra), anfetaminas, barbitúricos y heroína.",
        u"     Si tuviera alguna duda, pregúntele al encargado de administrar la prueba para que "
        u"le ayude. Cuando entienda bien estas instrucciones, puede comenzar. Oprima la tecla "
        u"«Enter» para comenzar.",
    },
    // Spanish, section 1
    {
        u"Las oraciones de esta sección deben contestarse con «Cierto» o «Falso». Si la oración es "
        u"cierta, ilumine el área que dice «Cierto» y entonces apriete «Enter». Si la oración es "
        u"falsa, ilumine el  área que dice «Falso» y entonces apriete «Enter». Oprima la tecla "
        u"«Enter» para comenzar.",
    },
    // Spanish, section 2
    {
        u"Escoja la respuesta que más le acierte a usted al presente. Ilumine la respuesta que "
        u"usted escoja en la pantalla y luego oprima la tecla «Enter». Use la escala de valores "
        u"siguiente:",
        u"",
        u"            1. Rara vez o nunca",
        u"            2. A veces",
        u"            3. Seguido o a menudo",
        u"            4. Muy seguido o muy a menudo",
    },
    // Spanish, section 3
    {
        u"Las oraciones de esta sección deben describir su persona o circunstancias. Ilumine el "
        u"número de la contestación que usted escoja y que más le acierte: 1, 2, 3 ó 4. Luego "
        u"oprima la tecla «Enter».",
    },
};

QString JoinLines(const std::vector<const char16_t*>& lines) {
    QStringList parts;
    for (const char16_t* l : lines)
        parts << QString::fromUtf16(l);
    return parts.join(QStringLiteral("\r\n"));
}

void UseLanguage(int first) {
    for (int i = 0; i < 4; ++i)
        g_instructionText[size_t(i)] = JoinLines(kInstructionLines[size_t(first + i)]);
}

} // namespace

void SetSectionEnds() {
    Globals().SectionEnd = TestSectionEnds;
}

bool InRange(int value, int low, int high) {
    return low <= value && value <= high;
}

int SectionOfItem(int item) {
    const auto& ends = Globals().SectionEnd;
    for (int k = 1; k <= SectionCount; ++k) {
        if (InRange(item, ends[size_t(k - 1)] + 1, ends[size_t(k)]))
            return k;
    }
    return 0;
}

int PositionInSection(int item) {
    const int k = SectionOfItem(item);
    return k == 0 ? 0 : item - Globals().SectionEnd[size_t(k - 1)];
}

int HighestAnswerCode(int section) {
    switch (section) {
    case 1:
        return 2;
    case 2:
    case 3:
        return 4;
    default:
        return 0;
    }
}

QString NonDeviantResponses() {
    return QStringLiteral(
        "1222122212212212221221221222121221221221121221221212121212212221414141414"
        "1411411141411411114141444444444144444411111");
}

int AnswerFamilyOf(const QString& answer2) {
    const QString head = answer2.left(5);
    if (head == QLatin1String("False"))
        return family::TrueFalse;
    if (head == QLatin1String("Somet"))
        return family::Frequency;
    if (head == QLatin1String("Mostl"))
        return family::Agreement5;
    if (head == QLatin1String("Often"))
        return family::Frequency5;
    if (head == QLatin1String("No"))
        return family::YesNo;
    return family::Numbered;
}

int AnswerCountOf(int familyCode) {
    switch (familyCode) {
    case family::TrueFalse:
    case family::YesNo:
        return 2;
    case family::Agreement5:
    case family::Frequency5:
        return 5;
    default:
        return 4;
    }
}

QString AnswerHelpLine(int familyCode) {
    switch (familyCode) {
    case family::TrueFalse:
        return QStringLiteral("0=No answer, 1=True, 2=False, Tab=Next grid");
    case family::YesNo:
        return QStringLiteral("0=No answer, 1=Yes, 2=No, Tab=Next grid");
    case family::Frequency:
        return QStringLiteral("0=No answer, 1=Rare/Never, 2=Sometimes, 3=Often, 4=Very Often, "
                              "Tab=Next grid");
    case family::Agreement5:
        return QStringLiteral("0=No answer, 1=True, 2=Mostly True, 3=Can't Decide, 4=Mostly "
                              "False, 5=False, Tab=Next grid");
    case family::Frequency5:
        return QStringLiteral("0=No answer, 1=Very Often, 2=Often, 3=Can't Decide, 4=Often, "
                              "5=Very Often, Tab=Next grid");
    default:
        return QStringLiteral("0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid");
    }
}

const QString& InstructionText(int index) {
    static const QString empty;
    if (index < 0 || index > 3)
        return empty;
    return g_instructionText[size_t(index)];
}

void SetInstructionTexts(const QString& language) {
    const QString name = language.trimmed().toUpper();
    if (name == QLatin1String("SPANISH"))
        UseLanguage(4);
    else if (name == QLatin1String("ENGLISH"))
        UseLanguage(0);
}

void ClearInstructionTexts() {
    for (QString& t : g_instructionText)
        t.clear();
}

} // namespace varenta::administration
