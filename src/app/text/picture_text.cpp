#include "app/text/picture_text.h"

namespace cubrik {
namespace {

PictureTexts textsIn(Language language) {
    const auto text = [language](std::string english, std::string japanese) {
        return language == Language::Japanese ? japanese : english;
    };
    return {
        text("Render picture", "画像をレンダリング"),
        text("Size", "サイズ"),
        text("Samples", "サンプル数"),
        text("Sun azimuth (°)", "太陽の方位 (°)"),
        text("Sun elevation (°)", "太陽の高さ (°)"),
        text("Floor under the model", "モデルの下に床"),
        text("Picture: %s", "画像: %s"),
        text("%s of %t samples", "%s / %t サンプル"),
        text("Finished", "完了"),
        text("Cancelled", "中止しました"),
        text("Cancel", "中止"),
        text("Save…", "保存…"),
        text("Save the picture", "画像を保存"),
        text("Cannot render the picture.", "画像をレンダリングできません。"),
        text("Cannot save %s.", "%sを保存できません。"),
        text("Export a turntable", "ターンテーブルを出力"),
        {{text("GIF animation (*.gif)", "GIFアニメーション (*.gif)"), "*.gif"},
         {text("MP4 video (*.mp4)", "MP4動画 (*.mp4)"), "*.mp4"},
         {text("Animated WebP (*.webp)", "アニメーションWebP (*.webp)"), "*.webp"}},
        text("Frames", "フレーム数"),
        text("Path traced", "パストレーシング"),
        text("Writing the turntable…", "ターンテーブルを出力しています…"),
        text("%s was not written: turntables are exported as .gif, .mp4 or .webp.",
             "%sは出力されていません。ターンテーブルは.gif、.mp4、.webpで出力します。"),
    };
}

const PictureTexts kEnglish = textsIn(Language::English);
const PictureTexts kJapanese = textsIn(Language::Japanese);

}  // namespace

const PictureTexts& pictureTexts(Language language) { return language == Language::Japanese ? kJapanese : kEnglish; }

std::string fillInTwo(const std::string& text, const std::string& first, const std::string& second) {
    std::string out = fillIn(text, first);
    if (const std::size_t at = out.find("%t"); at != std::string::npos) out.replace(at, 2, second);
    return out;
}

}  // namespace cubrik
