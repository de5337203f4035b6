#include "settings/SettingsModel.h"

#include "settings/Settings.h"

namespace {

// Calls visit(field, member) for every field of the record.
template <typename Visit> void ForEachField(Visit visit)
{
    using enum TSettingField;
    visit(AantalMaanden, &TRecRec::AantalMaanden);
    visit(KleurAchtergrond, &TRecRec::KleurAchtergrond);
    visit(KleurAchtergrondTitel, &TRecRec::KleurAchtergrondTitel);
    visit(KleurTitel, &TRecRec::KleurTitel);
    visit(KleurDagenDezeMaand, &TRecRec::KleurDagenDezeMaand);
    visit(KleurDagenAndereMaand, &TRecRec::KleurDagenAndereMaand);
    visit(SysteemLade, &TRecRec::SysteemLade);
    visit(GeminimaliseerdOpstarten, &TRecRec::GeminimaliseerdOpstarten);
    visit(Weeknummers, &TRecRec::Weeknummers);
    visit(Vandaag, &TRecRec::Vandaag);
    visit(Taal, &TRecRec::Taal);
    visit(PictogrammenOplichten, &TRecRec::PictogrammenOplichten);
    visit(TitelsKnoppen, &TRecRec::TitelsKnoppen);
    visit(Breedte, &TRecRec::Breedte);
    visit(Hoogte, &TRecRec::Hoogte);
    visit(Links, &TRecRec::Links);
    visit(Boven, &TRecRec::Boven);
    visit(Lettertype, &TRecRec::Lettertype);
    visit(Lettergrootte, &TRecRec::Lettergrootte);
    visit(StatusTonen, &TRecRec::StatusTonen);
    visit(OpVoorgrond, &TRecRec::OpVoorgrond);
    visit(PositieMaand, &TRecRec::PositieMaand);
    visit(KopieerDatumFormaat, &TRecRec::KopieerDatumFormaat);
    visit(HintSysteemLadeFormaat, &TRecRec::HintSysteemLadeFormaat);
    visit(AlphaBlend, &TRecRec::AlphaBlend);
}

// Reads through to another store and drops every write: the store stays exactly as it was.
class TReadThrough : public TRegistryBackend {
public:
    explicit TReadThrough(TRegistryBackend &store) : FStore(store) {}
    bool KeyExists(std::string_view path) override { return FStore.KeyExists(path); }
    std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) override
    {
        return FStore.ReadValue(path, name);
    }
    bool CanWrite() override { return true; }
    bool Commit(std::string_view, const std::vector<TRegChange> &) override { return true; }

private:
    TRegistryBackend &FStore;
};

} // namespace

TSettingFields::TSettingFields(std::initializer_list<TSettingField> fields)
{
    for (const TSettingField field : fields)
        FBits.set(static_cast<std::size_t>(field));
}

TSettingFields TSettingFields::All()
{
    TSettingFields all;
    all.FBits.set();
    return all;
}

TSettingFields TSettingFields::Between(const TRecRec &a, const TRecRec &b)
{
    TSettingFields changed;
    ForEachField([&](TSettingField field, auto member) {
        if (a.*member != b.*member)
            changed.FBits.set(static_cast<std::size_t>(field));
    });
    return changed;
}

TSettingsModel::TSettingsModel(TRegistryBackend &backend) : FBackend(backend) {}

void TSettingsModel::Read(double dpi, int screenWidth, int screenHeight, std::uint32_t lcid)
{
    ReadSettings(FRecord, FBackend, dpi, screenWidth, screenHeight, lcid);
    FStored = FRecord;
}

void TSettingsModel::ReadLeavingStore(std::uint32_t lcid)
{
    TReadThrough view(FBackend);
    ReadSettings(FRecord, view, 96, 0, 0, lcid);
    FStored = FRecord;
}

bool TSettingsModel::Commit(const TRecRec &edited)
{
    if (!WriteAlgemeen(FBackend, edited, FStored))
        return false;
    FStored = edited;
    Keep(edited);
    return true;
}

void TSettingsModel::Keep(const TRecRec &edited)
{
    const TSettingFields changed = TSettingFields::Between(FRecord, edited);
    FRecord = edited;
    if (!changed.Empty())
        Notify(changed);
}

void TSettingsModel::ToggleStayOnTop()
{
    FRecord.OpVoorgrond = !FRecord.OpVoorgrond;
    Notify({TSettingField::OpVoorgrond});
}

bool TSettingsModel::StorePlacement(int boven, int links, int breedte, int hoogte, bool opVoorgrond)
{
    return WritePositie(FBackend, boven, links, breedte, hoogte, opVoorgrond);
}

TSettingsModel::TSubscription TSettingsModel::Listen(TListener listener)
{
    auto subscription = std::make_shared<TListener>(std::move(listener));
    FListeners.push_back(subscription);
    return subscription;
}

void TSettingsModel::Notify(TSettingFields changed)
{
    std::erase_if(FListeners, [](const std::weak_ptr<TListener> &listener) { return listener.expired(); });
    // A listener may subscribe another while it is told.
    const std::vector<std::weak_ptr<TListener>> listeners = FListeners;
    for (const std::weak_ptr<TListener> &weak : listeners) {
        if (const TSubscription listener = weak.lock())
            (*listener)(changed);
    }
}
