// The pump, the rise velocity from the fluids and the separator finder in the running program:
// what the panel shows, what the dialogs ask and what their answers change.

#include "app/services/EventRegistry.h"

#include "app/Application.h"
#include "app/controllers/AppController.h"
#include "app/model/ParameterTable.h"
#include "app/platform/Platform.h"
#include "app/services/EventNames.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {
// Answers forms and tables as a user would, and keeps what they asked.
class CAnsweringShell : public CRecordingShell {
public:
    std::optional<std::vector<std::string>> AskForm(const FormRequest& form) override {
        forms.push_back(form);
        return formAnswer;
    }
    std::optional<int> ChooseRow(const TableRequest& table) override {
        tables.push_back(table);
        return rowAnswer;
    }

    std::vector<FormRequest> forms;
    std::vector<TableRequest> tables;
    std::optional<std::vector<std::string>> formAnswer;
    std::optional<int> rowAnswer;
};

class PumpFluidFinderTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(shell); }

    CTextEditView& Field(ParameterId id) {
        auto* field = gWindowManager->FindViewAs<CTextEditView>(ParameterOf(id).field);
        EXPECT_NE(field, nullptr);
        return *field;
    }
    CComboBoxView& List(const std::string& name) {
        auto* list = gWindowManager->FindViewAs<CComboBoxView>(name);
        EXPECT_NE(list, nullptr) << name;
        return *list;
    }
    std::string Label(const std::string& name) {
        auto* label = gWindowManager->FindViewAs<CLabelView>(name);
        EXPECT_NE(label, nullptr) << name;
        return label ? label->DisplayText() : "";
    }
    void Type(ParameterId id, const std::string& text) {
        Field(id).SetText(text);
        RaiseEvent(LoseFocusEvent(ParameterOf(id).field));
    }
    void RateSource(const std::string& text) {
        List(ParameterOf(ParameterId::RateFromPump).field).SelectByText(text);
        RaiseEvent(ParameterOf(ParameterId::RateFromPump).changedEvent);
    }
    const WellParameters& Model() { return TheModel().GetParameters(); }
    CWarningView& Warning(const std::string& name) {
        auto* warning = gWindowManager->FindViewAs<CWarningView>(name);
        EXPECT_NE(warning, nullptr) << name;
        return *warning;
    }

    CAnsweringShell shell;
};
} // namespace

TEST_F(PumpFluidFinderTest, TheRateFromThePumpIsShownReadOnlyAndFollowsThePump) {
    CTextEditView& rate = Field(ParameterId::ProductionRate);
    EXPECT_FALSE(rate.IsReadOnly());
    // The shipped pump: 0.1166 × 100 in × (1.5 in)² × 8 SPM = 209.88 bbl/day.
    EXPECT_EQ(Label(ViewName::kPumpDisplacement), "Pump displacement: 209.88 bbl/day");
    // 242 bbl/day of capacity at 26.235 bbl/day per SPM: 9.22, shown rounded down.
    EXPECT_EQ(Label(ViewName::kFastestPumpSpeed), "Fastest speed within capacity: 9.2 SPM");

    RateSource("From the pump");
    EXPECT_TRUE(rate.IsReadOnly());
    EXPECT_EQ(rate.GetText(), "209.88");
    EXPECT_NE(rate.CaptionDetail().find("from the pump"), std::string::npos)
        << rate.CaptionDetail();
    EXPECT_DOUBLE_EQ(Model().GetProductionRate(), 0.1166 * 100 * 2.25 * 8);

    Type(ParameterId::SPM, "10"); // 262.35 bbl/day, above the 242 of capacity
    EXPECT_EQ(rate.GetText(), "262.35");
    Type(ParameterId::PumpEfficiency, "80");
    EXPECT_EQ(rate.GetText(), "209.88");
    EXPECT_EQ(Label(ViewName::kFastestPumpSpeed), "Fastest speed within capacity: 11.5 SPM");
    Type(ParameterId::PlungerDiameter, "7"); // out of range: the rate keeps the pump in use
    EXPECT_FALSE(Field(ParameterId::PlungerDiameter).IsValid());
    EXPECT_EQ(rate.GetText(), "209.88");
    // A pump speed of 0 would make a rate of 0: the speed is marked, not the rate it would give.
    Type(ParameterId::SPM, "0");
    EXPECT_FALSE(Field(ParameterId::SPM).IsValid());
    EXPECT_TRUE(rate.IsValid());
    EXPECT_FALSE(Warning(ParameterOf(ParameterId::ProductionRate).rangeWarning).IsVisible());
    EXPECT_EQ(rate.GetText(), "209.88");
    // The copied design says which texts it is not for.
    const std::string copied =
        DesignAsTabSeparatedText(TheApplication().AppController()->DesignExport().CurrentDesign());
    EXPECT_NE(copied.find("Pump speed \"0\" is not used (out of range): the figures are for "
                          "10 SPM\t\nWarning\tPlunger diameter \"7\" is not used (out of "
                          "range): the figures are for 1.5 in"),
              std::string::npos)
        << copied;
    Type(ParameterId::SPM, "10 kg");
    EXPECT_NE(
        DesignAsTabSeparatedText(TheApplication().AppController()->DesignExport().CurrentDesign())
            .find("Pump speed \"10 kg\" is not used (not understood)"),
        std::string::npos);
    Type(ParameterId::SPM, "10");
    Type(ParameterId::PlungerDiameter, "1.5");
    EXPECT_EQ(
        DesignAsTabSeparatedText(TheApplication().AppController()->DesignExport().CurrentDesign())
            .find("is not used"),
        std::string::npos);

    RateSource("Typed");
    EXPECT_FALSE(rate.IsReadOnly());
    EXPECT_EQ(rate.CaptionDetail().find("from the pump"), std::string::npos);
    Type(ParameterId::ProductionRate, "150");
    EXPECT_EQ(Model().GetProductionRate(), 150);
    EXPECT_FALSE(Model().GetRateFromPump());
}

TEST_F(PumpFluidFinderTest, TheFluidFormPreviewsTheVelocityAndFillsTheField) {
    shell.formAnswer = std::vector<std::string>{"998", "1.2", "0.072"}; // water and air
    RaiseEvent(EventName::kRiseVelocityFromFluid);
    ASSERT_EQ(shell.forms.size(), 1u);
    const FormRequest& form = shell.forms[0];
    ASSERT_EQ(form.fields.size(), 3u);
    EXPECT_EQ(form.fields[0].text, "870"); // the model's fluids to start from
    EXPECT_EQ(form.fields[2].unit, "N/m");
    EXPECT_NE(form.intro.find("Water and air"), std::string::npos);
    ASSERT_EQ(form.starts.size(), 5u); // the table's fluids fill the fields when chosen
    EXPECT_EQ(form.starts[0].name, "Water and air");
    EXPECT_EQ(form.starts[0].texts, (std::vector<std::string>{"998", "1.2", "0.072"}));
    EXPECT_NE(form.note.find("Stokes"), std::string::npos);
    bool acceptable = false;
    EXPECT_EQ(form.preview({"870", "50", "0.025"}, acceptable), "Rise velocity: 7.69 in/s");
    EXPECT_TRUE(acceptable);
    EXPECT_EQ(form.preview({"870", "abc", "0.025"}, acceptable),
              "Type the gas density as a number.");
    EXPECT_FALSE(acceptable);
    EXPECT_EQ(form.preview({"400", "500", "0.025"}, acceptable),
              "The gas must be lighter than the liquid.");
    EXPECT_FALSE(acceptable);
    // Read as the panel's fields read them: a unit after the number, the locale's comma.
    EXPECT_EQ(form.preview({"0.87 g/cm3", "50", "25 mN/m"}, acceptable),
              "Rise velocity: 7.69 in/s");
    EXPECT_EQ(form.preview({"870", "50 psi", "0.025"}, acceptable),
              "Gas density takes kg/m\u00b3, not \u201cpsi\u201d");
    EXPECT_EQ(form.preview({"1,870", "50", "0.025"}, acceptable),
              "Liquid density: Type the number without separators (1200, not 1,200)");
    Platform().decimalComma = true;
    EXPECT_EQ(form.preview({"870", "50", "0,025"}, acceptable), "Rise velocity: 7.69 in/s");
    Platform().decimalComma = false;

    // 9.821 in/s by hand (see the model's tests); the field and the model take it.
    EXPECT_EQ(Field(ParameterId::RiseVelocity).GetText(), "9.821");
    EXPECT_DOUBLE_EQ(Model().GetGasBubbleRiseVelocity(), 9.821);
    EXPECT_EQ(Model().GetLiquidDensity(), 998);
    EXPECT_EQ(Model().GetSurfaceTension(), 0.072);

    shell.formAnswer.reset(); // cancelled: nothing changes
    RaiseEvent(EventName::kRiseVelocityFromFluid);
    EXPECT_DOUBLE_EQ(Model().GetGasBubbleRiseVelocity(), 9.821);
}

TEST_F(PumpFluidFinderTest, TheFinderListsTheFittingSeparatorsBestFirstAndAppliesThePick) {
    EXPECT_EQ(Label(ViewName::kDriftDiameter), "Drift diameter 3.965 in"); // 4.09 − 1/8
    shell.rowAnswer = 0;
    RaiseEvent(EventName::kFindSeparator);
    ASSERT_EQ(shell.tables.size(), 1u);
    const TableRequest& table = shell.tables[0];
    ASSERT_FALSE(table.rows.empty());
    ASSERT_FALSE(table.apart.empty());
    EXPECT_EQ(table.rows.size() + table.apart.size(),
              static_cast<size_t>(List(ViewName::kSeparatorPreset).RowCount()));
    EXPECT_NE(table.intro.find("drift diameter 3.965 in"), std::string::npos) << table.intro;
    // Every row fits; every row apart says why not.
    for (const auto& row : table.rows) {
        ASSERT_EQ(row.size(), table.headers.size());
        EXPECT_LT(std::stod(row[1]), 3.965) << row[0];
    }
    for (const auto& row : table.apart) {
        EXPECT_NE(row.back().find(" not below the drift diameter 3.965 in"), std::string::npos)
            << row.back();
    }
    // The first row applied: the list names it and the model has its dimensions.
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), table.rows[0][0]);
    EXPECT_EQ(Field(ParameterId::SeparatorOD).GetText() + " in", table.rows[0][1]);

    // In a wide casing every separator fits, and nothing is picked when cancelled.
    List(ViewName::kCasingSize).SelectByText("7\" 23 lbs/ft (ID 6.366\")");
    RaiseEvent(EventName::kCasingSizeChanged);
    const double od = Model().GetSeparatorOD();
    shell.rowAnswer.reset();
    RaiseEvent(EventName::kFindSeparator);
    ASSERT_EQ(shell.tables.size(), 2u);
    EXPECT_TRUE(shell.tables[1].apart.empty());
    EXPECT_EQ(Model().GetSeparatorOD(), od);

    // A casing no separator passes (a case's 2 in bore) says so, not "best first" over nothing.
    WellParameters narrow = Model();
    narrow.SetCasingSize(2);
    TheModel().SetParameters(narrow);
    RaiseEvent(EventName::kFindSeparator);
    ASSERT_EQ(shell.tables.size(), 3u);
    EXPECT_TRUE(shell.tables[2].rows.empty());
    EXPECT_TRUE(shell.tables[2].intro.starts_with("No separator passes the casing"))
        << shell.tables[2].intro;
}
