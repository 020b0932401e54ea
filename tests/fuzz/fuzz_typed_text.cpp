// Fuzz target: every parser of text typed into the configuration dialogs.
// Properties: no arithmetic overflows (UBSan); every planned write is a register and a value in
// 0..65535, or the plan is refused with a reason.
#include "core/settings/SettingRows.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quma;
using namespace quma::fuzz;

namespace {
void checkPlan(const WritePlan& plan) {
    if (!plan.error.isEmpty()) return;
    for (const RegWrite& w : plan.writes) {
        QUMA_FUZZ_CHECK(w.reg >= 0 && w.reg <= 0xFFFF);
        QUMA_FUZZ_CHECK(w.value >= 0 && w.value <= 0xFFFF);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList parts = text.split('|');

    (void)ParseTenths(text);
    (void)ParseInteger(text);
    for (const SetPointRow& row : SetPointRows())
        (void)ClampedEntryText(row, text, row.min, row.max);

    QList<RowInput> rows;
    for (int i = 0; i < SetPointRows().size(); ++i)
        rows.append(
            {true, parts.value(i % std::max<qsizetype>(parts.size(), 1)), int(size % 5) - 1});
    checkPlan(PlanSetPoints(rows, size % 2, int(size % 4)));

    CalibrationInput cal;
    cal.acRowsShown = true;
    for (int i = 0; i < 6; ++i) {
        cal.checked[i] = true;
        cal.text[i] = parts.value(i);
    }
    checkPlan(PlanCalibration(cal));

    NetIdForm form;
    form.ip = form.gateway = form.subnet = form.mac = form.hwVersion = form.rectId = form.site =
        true;
    form.ipText = form.gatewayText = form.subnetText = form.hwVersionText = parts.mid(0, 4);
    form.macText = parts.mid(0, 6);
    form.rectIdText = parts.value(0);
    form.serialText = parts.value(1);
    form.hwDescriptionText = parts.value(2);
    form.siteText = text;
    const NetworkIdentity last;
    const NetIdPayload p = BuildNetIdPayload(form, &last);
    if (p.error.isEmpty()) QUMA_FUZZ_CHECK(p.payload.startsWith(QByteArray::fromHex("12345678")));
    return 0;
}
