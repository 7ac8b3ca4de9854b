#pragma once
// The preferences: a copy of the settings in controls; OK writes them all, Cancel none.

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QButtonGroup;
class QTabWidget;
class TEditorConfig;

class TfrmPreferences : public QDialog {
    Q_OBJECT
public:
    // romOpen: the default data file cannot be changed while a ROM is open.
    TfrmPreferences(TEditorConfig& settings, const QString& programFolder, bool romOpen, QWidget* parent);

    void LoadFromSettings();
    void ApplyToSettings();
    void cmdOKClick();
    void cmdRestoreDefaultsClick();
    void BrowseColour(int swatch);
    void cmdBrowseClick();
    void cmdIPSBrowseClick();
    void cmdBrowseIPSSaveAsClick();
    QColor SwatchColour(int swatch) const;

    QTabWidget* pgcPreferences;
    QComboBox* cbDataFile;
    QLabel* lblDatafile;
    QComboBox* cbPaletteFile;
    QCheckBox* chkBackupFiles;
    QCheckBox* chkAutoCheck;
    QCheckBox* chkDisableDeleteEnemyPrompt;
    QCheckBox* chkAutoGotoObjEditing;
    QButtonGroup* rdgWhenIncorrectMapper;
    QCheckBox* chkShowLeftMidText;
    QLabel* swatches[4];  // imgLeftText, imgRightText, imgGridlineColour, imgSpecObjOutline
    QCheckBox* chkShowGridlinesByDefault;
    QCheckBox* chkIconTransparency;
    QSpinBox* txtIconTransparency;
    QLineEdit* txtEmulatorPath;
    QButtonGroup* rdgEmuFileSettings;
    QCheckBox* chkDisplayEmulatorSaveWarning;
    QLineEdit* txtOriginalROMFilename;
    QLineEdit* txtSaveAsIPS;
    QLabel* lblLunarCompress;

protected:
    // The standard pickers; tests answer them by overriding.
    virtual std::optional<QColor> PickColour(const QColor& current);
    virtual QString PickOpenFile(const QString& title, const QString& filter, const QString& folder);
    virtual QString PickSaveFile(const QString& title, const QString& filter, const QString& folder);

private:
    void FillPaletteList();
    void FillDataFileList();
    void SetSwatch(int swatch, QColor colour);
    QString StartFolder(const QString& path, const QString& fallback) const;

    TEditorConfig& settings_;
    QString programFolder_;
    QColor colours_[4];
    QString openFolder_;  // the shared open dialog keeps the folder it last showed
};
