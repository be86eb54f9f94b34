#include "scenario/StepReader.h"

#include "scenario/Cp1250.h"
#include "scenario/RecordFile.h"
#include "scenario/TypeListName.h"

namespace scenario {

std::unique_ptr<TKrok> AktKrok;
std::int32_t NrKroku = 0;
TLisRec AktLis;

namespace {

RecordFile PlikKro;
RecordFile PlikLis;
TKrokRec KrokRecBuffer;

} // namespace

void OpenScenario(const std::string& path) {
    PlikKro.Assign(path);
    PlikLis.Assign(FindTypeList(path));
    PlikKro.Reset(KrokRecSize);
    PlikLis.Reset(LisRecSize);
    NrKroku = 1;
    GoToStep();
}

void GoToStep() {
    PlikKro.Seek(NrKroku);
    PlikLis.Seek(NrKroku);

    TKrokRec krok;
    PlikKro.Read(krok.bytes);
    KrokRecBuffer = krok;

    // Read into a scratch record so that a short read never leaves AktLis half overwritten.
    std::array<std::uint8_t, LisRecSize> lis{};
    PlikLis.Read(lis);
    AktLis = DecodeLisRec(lis);

    CopyStep();
}

void CloseScenario() {
    PlikKro.Close();
    PlikLis.Close();
}

void CopyStep() {
    if (!AktKrok) {
        AktKrok = std::make_unique<TKrok>();
    }
    CopyStep(KrokRecBuffer, *AktKrok);
}

void CopyStep(const TKrokRec& record, TKrok& step) {
    const auto text = [&](ShortStringField field) {
        return Cp1250ToUtf8(ReadShortString(record.bytes, field));
    };
    step.Nazwa = text(krok::Nazwa);
    step.Wybor1 = text(krok::Wybor1);
    step.Wybor2 = text(krok::Wybor2);
    step.Wybor3 = text(krok::Wybor3);
    step.Wybor4 = text(krok::Wybor4);
    step.Opis = text(krok::Opis);
    step.Bmp = text(krok::Bmp);
    step.Wav = text(krok::Wav);
    step.Krok_Wybrany1 = ReadInt32LE(record.bytes, krok::Krok_Wybrany1);
    step.Krok_Wybrany2 = ReadInt32LE(record.bytes, krok::Krok_Wybrany2);
    step.Krok_Wybrany3 = ReadInt32LE(record.bytes, krok::Krok_Wybrany3);
    step.Krok_Wybrany4 = ReadInt32LE(record.bytes, krok::Krok_Wybrany4);
}

const std::string& StepFileName() {
    return PlikKro.name();
}
const std::string& TypeListFileName() {
    return PlikLis.name();
}

} // namespace scenario
