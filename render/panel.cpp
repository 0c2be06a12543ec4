// The information panel right of the board and, while the game is paused or over, the
// overlay across the board: state title, restart prompt and the ranking view.
#include <cstdio>
#include <cstring>

#include "game/game.h"

namespace {

constexpr COLORREF White = 0x00FFFFFF;
constexpr COLORREF Grey = 0x00808080;
constexpr COLORREF Red = 0x000000FF;
constexpr COLORREF Green = 0x0000FF00;
constexpr COLORREF Blue = 0x00FF0000;
constexpr COLORREF Yellow = 0x0000FFFF;
constexpr COLORREF Cyan = 0x00FFFF00;
constexpr COLORREF Magenta = 0x00FF00FF;

const char PanelFace[] = "ＭＳ Ｐゴシック";

// Room for the widest formatted line: a ranking line whose score and body length are both
// -2147483648 takes 38 bytes and the terminator.
constexpr int LineBytes = 48;

struct Style {
  int height;
  BOOL bold;
  BOOL italic;
};
constexpr Style TitleStyle = {25, TRUE, TRUE};
constexpr Style CreditStyle = {15, FALSE, TRUE};
constexpr Style CounterStyle = {17, FALSE, FALSE};
constexpr Style LegendStyle = {15, TRUE, FALSE};
constexpr Style KeyStyle = {12, TRUE, FALSE};
constexpr Style StateTitleStyle = {50, TRUE, TRUE};
constexpr Style PromptStyle = {30, TRUE, TRUE};
constexpr Style RankingStyle = {17, TRUE, FALSE};

// A text's main copy at (x, y) and its shadow, drawn first, at (x + dx, y + dy).
struct Shadowed {
  int x;
  int y;
  COLORREF colour;
  int dx;
  int dy;
  COLORREF shadowColour;
};

void DrawStyled(Game& game, const char* text, int x, int y, COLORREF colour, const Style& style) {
  game.DrawString(text, x, y, style.height, style.bold, style.italic, colour, PanelFace);
}

void DrawShadowed(Game& game, const char* text, const Shadowed& at, const Style& style) {
  DrawStyled(game, text, at.x + at.dx, at.y + at.dy, at.shadowColour, style);
  DrawStyled(game, text, at.x, at.y, at.colour, style);
}

struct KeyGuideLine {
  const char* text;
  int x;
  int y;
  COLORREF colour;
};
// The arrow keys form a cross: up at the top, left and right on one row, down below.
constexpr KeyGuideLine KeyGuide[] = {
    {"↑キー", 540, 300, Yellow}, {"上を向く", 540, 313, Red}, {"←キー", 490, 320, Yellow},
    {"左を向く", 490, 333, Red}, {"→キー", 600, 320, Yellow}, {"右を向く", 590, 333, Red},
    {"↓キー", 540, 346, Yellow}, {"下を向く", 540, 359, Red}, {"スペースキー", 525, 400, Yellow},
    {"一時停止", 535, 412, Red},
};

constexpr int RankingTop = 80;
constexpr int RankingPitch = 68;

}  // namespace

void Game::DrawString(const char* text, int x, int y, int height, BOOL bold, BOOL italic, COLORREF colour,
                      const char* face) {
  HFONT font =
      CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
  HDC dc = backBuffer.GetDc();
  HGDIOBJ previousFont = SelectObject(dc, font);
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
  SelectObject(dc, previousFont);
  DeleteObject(font);
}

void Game::TintBox(int x, int y, int width, int height, COLORREF colour) {
  HDC dc = backBuffer.GetDc();
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ previousBrush = SelectObject(dc, brush);
  BitBlt(dc, x, y, width, height, dc, x, y, MERGECOPY);
  SelectObject(dc, previousBrush);
  DeleteObject(brush);
}

void Game::DrawPanel() {
  HDC dc = backBuffer.GetDc();
  char line[LineBytes];

  DrawShadowed(*this, "ポロンゴ", {490, 10, White, 2, 2, Grey}, TitleStyle);
  DrawShadowed(*this, "(C) Porongo Team", {520, 41, Green, 1, 1, White}, CreditStyle);
  std::snprintf(line, sizeof line, "得　点：%05d", score);
  DrawShadowed(*this, line, {510, 80, Cyan, 1, 1, White}, CounterStyle);
  std::snprintf(line, sizeof line, "胴　体：%05d", BodyLength());
  DrawShadowed(*this, line, {510, 100, Magenta, 1, 1, White}, CounterStyle);

  // The legend: each board object's sprites, then what it does.
  pickupSprites[Grow3].Draw(dc, 490, 200);
  bodySprites[Up].Draw(dc, 510, 200);
  DrawShadowed(*this, "＋３＆得点＋３", {525, 200, Red, 1, 1, White}, LegendStyle);
  pickupSprites[Grow5].Draw(dc, 490, 216);
  bodySprites[Up].Draw(dc, 510, 216);
  DrawShadowed(*this, "＋５＆得点＋５", {525, 216, Red, 1, 1, White}, LegendStyle);
  pickupSprites[Shrink3].Draw(dc, 490, 232);
  bodySprites[Up].Draw(dc, 510, 232);
  DrawShadowed(*this, "－３", {525, 232, Red, 1, 1, White}, LegendStyle);
  roamerSprite.Draw(dc, 490, 260);
  DrawShadowed(*this, "ゲームオーバー", {510, 260, Red, 1, 1, White}, LegendStyle);

  for (const KeyGuideLine& key : KeyGuide)
    DrawShadowed(*this, key.text, {key.x, key.y, key.colour, 1, 1, White}, KeyStyle);

  if (state == Playing) return;

  if (state == Paused)
    DrawShadowed(*this, "Ｐａｕｓｅ...", {160, 30, Blue, 2, 2, Green}, StateTitleStyle);
  else
    DrawShadowed(*this, "ＧａｍｅＯｖｅｒ...！", {80, 30, Red, 2, 2, Blue}, StateTitleStyle);
  DrawShadowed(*this, "Push SpaceKey To ReStart", {50, 430, White, 2, 2, Grey}, PromptStyle);

  // The ranking view, seen through a blue tint of the board.
  TintBox(20, RankingTop, 440, 350, Blue);
  for (int i = 0; i < RankingTable::kEntryCount; ++i) {
    const int y = RankingTop + RankingPitch / 2 + RankingPitch * i;
    std::snprintf(line, sizeof line, "%02d位 得点:%05d 胴体:%05d", i + 1, ranking.ScoreAt(i), ranking.BodyAt(i));
    const char* name = ranking.NameAt(i);
    // Both shadows first, then both main copies.
    DrawStyled(*this, line, 31, y + 1, Green, RankingStyle);
    DrawStyled(*this, name, 301, y + 1, Green, RankingStyle);
    DrawStyled(*this, line, 30, y, White, RankingStyle);
    DrawStyled(*this, name, 300, y, White, RankingStyle);
  }
}
