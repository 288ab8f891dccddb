#pragma once
// Every fixed Japanese text of the program, as Shift-JIS (CP932) bytes.
// The UTF-8 original stands in the comment above each constant; a test converts
// the originals with iconv and compares, so none of these can drift.

namespace quorvex {

/// An input file cannot be opened. UTF-8: "ファイル %s は開けません"
inline constexpr char kFileOpenError[] = "\x83t\x83@\x83" "C\x83\x8B %s \x82\xCD\x8AJ\x82\xAF\x82\xDC\x82\xB9\x82\xF1";
/// An output file cannot be created. UTF-8: "ファイル %s を作成できません"
inline constexpr char kFileCreateError[] = "\x83t\x83@\x83" "C\x83\x8B %s \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
/// A text that should be an integer is not. UTF-8: "'%s' は整数ではありません"
inline constexpr char kNotAnInteger[] = "'%s' \x82\xCD\x90\xAE\x90\x94\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
/// A list position out of range. UTF-8: "リストのインデックスが範囲を超えています (%d)"
inline constexpr char kListIndexError[] = "\x83\x8A\x83X\x83g\x82\xCC\x83" "C\x83\x93\x83" "f\x83" "b\x83N\x83X\x82\xAA\x94\xCD\x88\xCD\x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7 (%d)";
/// The font of pages and popups. UTF-8: "ＭＳ Ｐゴシック"
inline constexpr char kFontName[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";
/// The language name of the project file. UTF-8: "日本語"
inline constexpr char kJapanese[] = "\x93\xFA\x96{\x8C\xEA";
/// Stands in for a picture that is missing or not converted. UTF-8: "(画像)"
inline constexpr char kMissingPicture[] = "(\x89\xE6\x91\x9C)";
/// Status while the contents are converted. UTF-8: "cnt → hhc"
inline constexpr char kStatusContents[] = "cnt \x81\xA8 hhc";
/// Status while the keyword index is written. UTF-8: "hhk作成"
inline constexpr char kStatusIndex[] = "hhk\x8D\xEC\x90\xAC";
/// Status while the project file is written. UTF-8: "hhp作成"
inline constexpr char kStatusProject[] = "hhp\x8D\xEC\x90\xAC";
/// Status while the browser help is written. UTF-8: "web作成"
inline constexpr char kStatusWebHelp[] = "web\x8D\xEC\x90\xAC";
/// Tool button: exit. UTF-8: "終了"
inline constexpr char kExitCaption[] = "\x8FI\x97\xB9";
/// Tool button: convert (between two ideographic spaces). UTF-8: "　変換　"
inline constexpr char kConvertCaption[] = "\x81@\x95\xCF\x8A\xB7\x81@";
/// Tool button: version. UTF-8: "バージョン"
inline constexpr char kVersionCaption[] = "\x83o\x81[\x83W\x83\x87\x83\x93";
/// Check box: combine popups into one file. UTF-8: "ポップアップを１つのファイルにまとめる"
inline constexpr char kCombinePopupsCaption[] = "\x83|\x83" "b\x83v\x83" "A\x83" "b\x83v\x82\xF0\x82P\x82\xC2\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x82\xDC\x82\xC6\x82\xDF\x82\xE9";
/// Filter of the open-file dialog: projects and compiled helps together, then each alone. UTF-8: "ヘルプ|*.hpj;*.hlp|ヘルププロジェクト|*.hpj|コンパイル済みヘルプ|*.hlp"
inline constexpr char kOpenDialogFilter[] = "\x83w\x83\x8B\x83v|*.hpj;*.hlp|\x83w\x83\x8B\x83v\x83v\x83\x8D\x83W\x83" "F\x83N\x83g|*.hpj|\x83R\x83\x93\x83p\x83" "C\x83\x8B\x8D\xCF\x82\xDD\x83w\x83\x8B\x83v|*.hlp";
/// Caption of the folder picker. UTF-8: "作成先の選択"
inline constexpr char kFolderPickerCaption[] = "\x8D\xEC\x90\xAC\x90\xE6\x82\xCC\x91I\x91\xF0";
/// Caption of the about box. UTF-8: "バージョン情報"
inline constexpr char kAboutCaption[] = "\x83o\x81[\x83W\x83\x87\x83\x93\x8F\xEE\x95\xF1";
/// The about box's last line. UTF-8: "WinHelp → HTML ヘルプ"
inline constexpr char kAboutNotice[] = "WinHelp \x81\xA8 HTML \x83w\x83\x8B\x83v";
/// Check box: also compile the .chm. UTF-8: "コンパイル済みヘルプ (.chm) も作る"
inline constexpr char kCompiledHelpCaption[] = "\x83R\x83\x93\x83p\x83" "C\x83\x8B\x8D\xCF\x82\xDD\x83w\x83\x8B\x83v (.chm) \x82\xE0\x8D\xEC\x82\xE9";
/// Check box: also write the browser help. UTF-8: "ブラウザ用ヘルプも作る"
inline constexpr char kBrowserHelpCaption[] = "\x83u\x83\x89\x83" "E\x83U\x97p\x83w\x83\x8B\x83v\x82\xE0\x8D\xEC\x82\xE9";
/// Check box: missing files are warnings, not the end. UTF-8: "見つからないファイルがあっても続ける"
inline constexpr char kKeepGoingCaption[] = "\x8C\xA9\x82\xC2\x82\xA9\x82\xE7\x82\xC8\x82\xA2\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x82\xA0\x82\xC1\x82\xC4\x82\xE0\x91\xB1\x82\xAF\x82\xE9";
/// Button: cancel the running conversion. UTF-8: "中止"
inline constexpr char kCancelCaption[] = "\x92\x86\x8E~";
/// Title of the list of a run's warnings and errors. UTF-8: "警告とエラー"
inline constexpr char kMessagesCaption[] = "\x8Cx\x8D\x90\x82\xC6\x83G\x83\x89\x81[";
/// Button: copy the warnings and errors. UTF-8: "コピー"
inline constexpr char kCopyCaption[] = "\x83R\x83s\x81[";
/// Button: open the output folder. UTF-8: "フォルダを開く"
inline constexpr char kOpenFolderCaption[] = "\x83t\x83H\x83\x8B\x83_\x82\xF0\x8AJ\x82\xAD";
/// Button: open the browser help. UTF-8: "ブラウザ用ヘルプを開く"
inline constexpr char kOpenBrowserHelpCaption[] = "\x83u\x83\x89\x83" "E\x83U\x97p\x83w\x83\x8B\x83v\x82\xF0\x8AJ\x82\xAD";
/// Button: open the compiled help. UTF-8: ".chm を開く"
inline constexpr char kOpenChmCaption[] = ".chm \x82\xF0\x8AJ\x82\xAD";
/// Leads a warning in the window's list. UTF-8: "警告"
inline constexpr char kWarningLabel[] = "\x8Cx\x8D\x90";
/// Leads an error in the window's list. UTF-8: "エラー"
inline constexpr char kErrorLabel[] = "\x83G\x83\x89\x81[";
/// The user cancelled the conversion. UTF-8: "変換を中止しました"
inline constexpr char kConversionCancelled[] = "\x95\xCF\x8A\xB7\x82\xF0\x92\x86\x8E~\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
/// Leads the error of a compiled help that could not be written. UTF-8: "コンパイル済みヘルプ (.chm) を作成できません"
inline constexpr char kChmNotCompiled[] = "\x83R\x83\x93\x83p\x83" "C\x83\x8B\x8D\xCF\x82\xDD\x83w\x83\x8B\x83v (.chm) \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
/// The full-width blank. UTF-8: "　"
inline constexpr char kIdeographicSpace[] = "\x81@";

}  // namespace quorvex
