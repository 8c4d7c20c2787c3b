// Upper case and full width on CP932 text, one character at a time so trail bytes never change.
#include "platform/sys/posix/text_maps.h"

#include <map>
#include <string>

#include "platform/sys/posix/cp932.h"

namespace plat::posix {
namespace {

// Full-width forms of half-width katakana 0xA1..0xDF.
const char* const kKatakana[] = {
    "。", "「", "」", "、", "・", "ヲ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ャ", "ュ", "ョ", "ッ", "ー",
    "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ", "ソ", "タ",
    "チ", "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ", "フ", "ヘ", "ホ", "マ", "ミ",
    "ム", "メ", "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ", "ロ", "ワ", "ン", "゛", "゜"};
static_assert(sizeof(kKatakana) / sizeof(kKatakana[0]) == 0xDF - 0xA1 + 1, "one entry per code");

// Full-width forms of ASCII 0x20..0x7E.
const char* const kAscii[] = {
    "　", "！", "＂", "＃", "＄", "％", "＆", "＇", "（", "）", "＊", "＋", "，", "－", "．", "／",
    "０", "１", "２", "３", "４", "５", "６", "７", "８", "９", "：", "；", "＜", "＝", "＞", "？",
    "＠", "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｉ", "Ｊ", "Ｋ", "Ｌ", "Ｍ", "Ｎ", "Ｏ",
    "Ｐ", "Ｑ", "Ｒ", "Ｓ", "Ｔ", "Ｕ", "Ｖ", "Ｗ", "Ｘ", "Ｙ", "Ｚ", "［", "＼", "］", "＾", "＿",
    "｀", "ａ", "ｂ", "ｃ", "ｄ", "ｅ", "ｆ", "ｇ", "ｈ", "ｉ", "ｊ", "ｋ", "ｌ", "ｍ", "ｎ", "ｏ",
    "ｐ", "ｑ", "ｒ", "ｓ", "ｔ", "ｕ", "ｖ", "ｗ", "ｘ", "ｙ", "ｚ", "｛", "｜", "｝", "～"};
static_assert(sizeof(kAscii) / sizeof(kAscii[0]) == 0x7E - 0x20 + 1, "one entry per code");

std::string fullwidth(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = charLength(text, i);
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (n == 2) {
      out.append(text, i, 2);
    } else if (c >= 0x20 && c <= 0x7E) {
      out += kAscii[c - 0x20];
    } else if (c >= 0xA1 && c <= 0xDF) {
      std::string k = kKatakana[c - 0xA1];
      unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      // A voiced or semi-voiced mark joins the kana before it, as one full-width character.
      bool voicable = (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE);
      if (next == 0xDE && voicable) {
        k[1] = static_cast<char>(static_cast<unsigned char>(k[1]) + 1);
        ++i;
      } else if (next == 0xDF && c >= 0xCA && c <= 0xCE) {
        k[1] = static_cast<char>(static_cast<unsigned char>(k[1]) + 2);
        ++i;
      } else if (next == 0xDE && c == 0xB3) {
        k = "ヴ";
        ++i;
      }
      out += k;
    } else {
      out += static_cast<char>(c);
    }
    i += n;
  }
  return out;
}

std::string uppercase(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = charLength(out, i);
    unsigned char a = static_cast<unsigned char>(out[i]);
    if (n == 1) {
      if (a >= 'a' && a <= 'z') out[i] = static_cast<char>(a - 'a' + 'A');
    } else {
      unsigned b = static_cast<unsigned char>(out[i + 1]);
      unsigned code = (a << 8) | b;
      unsigned mapped = code;
      if (code >= 0x8281 && code <= 0x829A) mapped = code - 0x21;                // full-width a-z
      else if (code >= 0x83BF && code <= 0x83D6) mapped = code - 0x20;           // Greek
      else if (code >= 0x8470 && code <= 0x847E) mapped = code - 0x30;           // Cyrillic
      else if (code >= 0x8480 && code <= 0x8491) mapped = code - 0x31;           // (0x847F unused)
      out[i] = static_cast<char>(mapped >> 8);
      out[i + 1] = static_cast<char>(mapped & 0xFF);
    }
    i += n;
  }
  return out;
}

}  // namespace

bool mapCp932(const std::string& text, std::uint32_t flags, std::string& out) {
  if (flags == 0 || (flags & ~(kMapUppercase | kMapFullwidth)) != 0) return false;
  out = text;
  if (flags & kMapFullwidth) out = fullwidth(out);
  if (flags & kMapUppercase) out = uppercase(out);
  return true;
}

std::string systemMessage(std::int32_t code) {
  static const std::map<std::int32_t, const char*> kMessages = {
      {0, "この操作を正しく終了しました。"},
      {1, "ファンクションが間違っています。"},
      {2, "指定されたファイルが見つかりません。"},
      {3, "指定されたパスが見つかりません。"},
      {4, "システムはファイルを開くことができません。"},
      {5, "アクセスが拒否されました。"},
      {6, "ハンドルが無効です。"},
      {8, "このコマンドを実行するのに十分な記憶域がありません。"},
      {13, "データが無効です。"},
      {15, "指定されたドライブが見つかりません。"},
      {19, "メディアは書き込み禁止になっています。"},
      {21, "デバイスの準備ができていません。"},
      {30, "システムは指定されたデバイスから読み込むことができません。"},
      {31, "システムに接続されたデバイスが機能していません。"},
      {32, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。"},
      {33, "プロセスはファイルにアクセスできません。別のプロセスがファイルの一部をロックしています。"},
      {80, "ファイルが存在します。"},
      {87, "パラメーターが間違っています。"},
      {112, "ディスクに十分な空き領域がありません。"},
      {123, "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。"},
      {126, "指定されたモジュールが見つかりません。"},
      {127, "指定されたプロシージャが見つかりません。"},
      {145, "ディレクトリが空ではありません。"},
      {161, "指定されたパスは無効です。"},
      {183, "既に存在するファイルを作成することはできません。"},
      {193, "%1 は有効な Win32 アプリケーションではありません。"},
      {206, "ファイル名または拡張子が長すぎます。"},
      {234, "データがさらにあります。"},
      {259, "データはこれ以上ありません。"},
      {267, "ディレクトリ名が無効です。"},
      {1015, "レジストリが壊れています。"},
      {1018, "削除の対象としてマークされているレジストリ キーに対して、不正な操作を試みました。"},
      {1392, "ファイルまたはディレクトリが壊れているため、読み取ることができません。"},
  };
  auto it = kMessages.find(code);
  if (it != kMessages.end()) return std::string(it->second) + "\r\n";
  return "原因不明のエラーが発生しました。(" + std::to_string(code) + ")\r\n";
}

}  // namespace plat::posix
