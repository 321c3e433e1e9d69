#include <QPushButton>
#include <QTabWidget>

#include "edit_commands_fixture.h"

namespace {

class TagCommands : public EditCommandsTest {
  protected:
    void Type(const char* field, const QString& text) { Child<QLineEdit>(field)->setText(text); }
    void Click(const char* button) { Child<QPushButton>(button)->click(); }
    std::string TagFile(const std::string& name, std::int32_t version, std::int32_t count) {
        std::vector<std::uint8_t> bytes = {'T', 'A', 'G', '3'};
        for (std::int32_t value : {version, count, 0}) {
            for (int b = 0; b < 4; ++b)
                bytes.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
        }
        TMD3Tag tag{};
        SetName64("tag_file", tag.name);
        tag.origin = {4.0f, 5.0f, 6.0f};
        for (std::int32_t i = 0; i < count; ++i) {
            const auto* raw = reinterpret_cast<const std::uint8_t*>(&tag);
            bytes.insert(bytes.end(), raw, raw + sizeof tag);
        }
        const std::string path = dir_.File(name);
        testing_support::WriteBytes(path, bytes);
        return path;
    }
};

TEST_F(TagCommands, AddTypedTagToOneFrameModel) {
    LoadModel({.frames = 1, .tags = 1});
    const QString caption = ModelCaption();
    Type("leTagName", "tag_weapon");
    const char* const fields[] = {"leTagOriginX", "leTagOriginY", "leTagOriginZ", "eTagAxis0X",
                                  "eTagAxis0Y",   "eTagAxis0Z",   "eTagAxis1X",   "eTagAxis1Y",
                                  "eTagAxis1Z",   "eTagAxis2X",   "eTagAxis2Y",   "eTagAxis2Z"};
    const char* const values[] = {"1.5", "-2", "3", "0", "2", "0", "1", "0", "0", "0", "0", "1"};
    for (int i = 0; i < 12; ++i)
        Type(fields[i], values[i]);
    Click("bTagAddManually");

    EXPECT_EQ(window_->StatusText(), "New tag added");
    EXPECT_EQ(ModelCaption(), caption + "*");
    const THeader& h = window_->MD3().header;
    ASSERT_EQ(h.numTags, 2);
    const TMD3Tag& tag = h.tags[1];
    EXPECT_EQ(NameFieldText(tag.name), "tag_weapon");
    EXPECT_FLOAT_EQ(tag.origin.x, 1.5f);
    EXPECT_FLOAT_EQ(tag.origin.y, -2.0f);
    EXPECT_FLOAT_EQ(tag.axis[0].y, 2.0f) << "axes are kept as typed";
    EXPECT_FLOAT_EQ(tag.axis[1].x, 1.0f);
    // The panels list the new tag and the fields start over.
    EXPECT_EQ(Child<QComboBox>("cbNamesTags")->count(), 2);
    EXPECT_EQ(ListText("cbNamesTags", 1), "tag_weapon");
    EXPECT_EQ(Child<QLineEdit>("leTagName")->text(), "tag_");
    EXPECT_EQ(Child<QLineEdit>("leTagOriginX")->text(), "");
    EXPECT_EQ(Child<QLineEdit>("eTagAxis1Y")->text(), "1.0");
    EXPECT_EQ(Child<QLineEdit>("eTagAxis1X")->text(), "0.0");

    // An origin left empty or a word among the numbers adds nothing and keeps the texts.
    Click("bTagAddManually");
    EXPECT_EQ(window_->StatusText(), "Error converting user-input data");
    Type("leTagOriginX", "0");
    Type("leTagOriginY", "0");
    Type("leTagOriginZ", "0");
    Type("eTagAxis1Y", "abc");
    Click("bTagAddManually");
    EXPECT_EQ(window_->StatusText(), "Error converting user-input data");
    EXPECT_EQ(window_->MD3().header.numTags, 2);
    EXPECT_EQ(ModelCaption(), caption + "*");
    EXPECT_EQ(Child<QLineEdit>("eTagAxis1Y")->text(), "abc");
}

TEST_F(TagCommands, AnimatedModelsRefuseNewTags) {
    LoadModel({.frames = 2, .tags = 1});
    answerOpen_ = QString::fromStdString(TagFile("any.tag", 1, 1));
    Click("bTagFilename");
    EXPECT_EQ(window_->StatusText(),
              "Invalid action: It is not possible to add tags for animated MD3 models");
    EXPECT_TRUE(openTitles_.isEmpty()) << "the refusal comes before the dialog";
    Click("bTagAddManually");
    EXPECT_EQ(window_->StatusText(),
              "Invalid action: It is not possible to add tags for animated MD3 models");
    EXPECT_EQ(window_->MD3().header.numTags, 1);
    EXPECT_FALSE(ModelCaption().endsWith("*"));
}

TEST_F(TagCommands, TagFilesRoundTripThroughTheButtons) {
    LoadModel({.frames = 1, .tags = 2});
    const QString caption = ModelCaption();
    answerSave_ = QString::fromStdString(dir_.File("hand.tag"));
    Click("bSaveTags");
    EXPECT_EQ(saveTitles_, QStringList{"Save model-tag(s)"});
    EXPECT_EQ(window_->StatusText(), "Tag(s) saved to file: hand.tag");
    EXPECT_FALSE(window_->Busy());

    answerOpen_ = answerSave_;
    Click("bTagFilename");
    EXPECT_EQ(openTitles_.back(), "Select model-tags to import");
    EXPECT_EQ(window_->StatusText(), "New tag(s) added from file: hand.tag");
    EXPECT_EQ(Child<QLineEdit>("leTagFilename")->text(), "hand.tag");
    EXPECT_EQ(ModelCaption(), caption + "*");
    const THeader& h = window_->MD3().header;
    ASSERT_EQ(h.numTags, 4);
    EXPECT_EQ(NameFieldText(h.tags[2].name), "tag_0");
    EXPECT_EQ(Child<QComboBox>("cbNamesTags")->count(), 4);
    EXPECT_EQ(Child<QComboBox>("cbTagPivots")->count(), 5);

    // Cancelling the dialog says nothing.
    answerOpen_.clear();
    Click("bTagFilename");
    EXPECT_EQ(window_->StatusText(), "");
}

TEST_F(TagCommands, RejectedTagFileIsNotReportedAsAdded) {
    LoadModel({.frames = 1, .tags = 1});
    const QString caption = ModelCaption();
    answerOpen_ = QString::fromStdString(TagFile("v2.tag", 2, 1));
    Click("bTagFilename");
    EXPECT_EQ(window_->StatusText(),
              "No tag(s) added from file: v2.tag (unsupported tag file version 2)");
    EXPECT_EQ(window_->MD3().header.numTags, 1);
    EXPECT_EQ(ModelCaption(), caption);

    // A wrong end offset does not matter; the file's tag follows the model's own.
    answerOpen_ = QString::fromStdString(TagFile("good.tag", 1, 1));
    Click("bTagFilename");
    EXPECT_EQ(window_->StatusText(), "New tag(s) added from file: good.tag");
    ASSERT_EQ(window_->MD3().header.numTags, 2);
    EXPECT_EQ(NameFieldText(window_->MD3().header.tags[1].name), "tag_file");
    EXPECT_FLOAT_EQ(window_->MD3().header.tags[1].origin.z, 6.0f);

    // A file that cannot be opened reaches the error handler; the status stays empty.
    answerOpen_ = QString::fromStdString(dir_.File("absent.tag"));
    Click("bTagFilename");
    EXPECT_EQ(window_->StatusText(), "");
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Cannot open file \""));
}

TEST_F(TagCommands, SavingAModelWithoutTagsWritesNothingAndSaysSo) {
    LoadModel({.frames = 1, .tags = 0});
    answerSave_ = QString::fromStdString(dir_.File("none.tag"));
    Click("bSaveTags");
    EXPECT_TRUE(window_->StatusText().startsWith("No tag(s) saved to file: none.tag"))
        << window_->StatusText().toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir_.File("none.tag")));
}

TEST_F(TagCommands, TagGroupFollowsTheModelFamily) {
    auto* group = Child<QGroupBox>("gbInsertTags");
    EXPECT_EQ(group->title(), "Adding Tags");
    EXPECT_FALSE(group->isEnabled());
    LoadModel({.frames = 1, .tags = 1});
    EXPECT_TRUE(group->isEnabled());
    Run("actionModelClear");
    EXPECT_FALSE(group->isEnabled());
    EXPECT_EQ(Child<QPushButton>("bTagFilename")->text(), "From .tag File...");
    EXPECT_EQ(Child<QPushButton>("bSaveTags")->text(), "To .tag File...");
    EXPECT_TRUE(Child<QLineEdit>("leTagFilename")->isReadOnly());
    ShowAndWait();
    LoadModel({.frames = 1, .tags = 2});
    Child<QTabWidget>("pcTabs")->setCurrentWidget(Child<QWidget>("tsTagsScroll"));
    SaveWindowPicture("edit_tags_tab");
}

}  // namespace
