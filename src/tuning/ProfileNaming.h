#pragma once

namespace solvane::tuning {

// The two-click Save of a profile page. Idle: Save and Load enabled, the name edit and Cancel
// hidden. Save in Idle starts Naming: Save and Load disabled, edit and Cancel shown, the focus in
// the edit; a non-empty text enables Save again (emptying it does not disable it). Save while
// Naming runs the checks: a refusal stays in Naming with the text kept, a save or Cancel goes back
// to Idle.
class ProfileNaming {
public:
    enum class SaveStep {
        StartNaming, // nothing is written
        CheckAndSave,
    };
    struct Controls {
        bool saveEnabled = true;
        bool loadEnabled = true;
        bool editShown = false;
        bool cancelShown = false;
    };

    SaveStep onSave();
    void onCancel() { finish(); }
    void onTextChanged(bool nonEmpty);
    void onRefused();
    void onSaved() { finish(); }

    bool naming() const { return m_naming; }
    Controls controls() const;

private:
    void finish();

    bool m_naming = false;
    bool m_editOpen = false; // Naming began and neither Cancel nor a save has ended it
    bool m_saveEnabled = true;
};

} // namespace solvane::tuning
