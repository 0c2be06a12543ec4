#include "tools/framedump/scenes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "game/game.h"

namespace {

// Rows 1 to 28, alternately left to right and back, one row down at each end.
Direction NextDirection(const Segment& head) {
  const int x = head.GetX();
  const int y = head.GetY();
  const bool rightward = y % 2 == 1;
  if (head.GetDir() == Down) return rightward ? Right : Left;
  if (rightward && x == BoardSize - 2) return Down;
  if (!rightward && x == 1) return Down;
  return head.GetDir();
}

const char RankingText[] =
    "[1]\r\nName=ポロンゴ名人\r\nBody=412\r\nScore=2147483647\r\n"
    "[2]\r\nName=へびつかい\r\nBody=260\r\nScore=98765\r\n"
    "[3]\r\nName=No Name\r\nBody=45\r\nScore=123\r\n"
    "[4]\r\nName=Snake Charmer 2000\r\nBody=6\r\nScore=9\r\n"
    "[5]\r\nName=\r\nBody=-2147483648\r\nScore=-2147483648\r\n";

}  // namespace

void SetUpFullBoardSnake(Game& game) {
  // Position p of the path runs along row p / 30, rightward on even rows.
  struct Place {
    int x;
    int y;
    Direction dir;
  };
  const auto place = [](int p) {
    const int row = p / BoardSize;
    const int step = p % BoardSize;
    const int column = row % 2 == 0 ? step : BoardSize - 1 - step;
    const Direction arrival = p > 0 && step == 0 ? Down : (row % 2 == 0 ? Right : Left);
    return Place{column, row, arrival};
  };
  game.Shrink(MaxBody);
  for (int i = 0; i < MaxBody; ++i) {
    const Place cell = place(MaxBody - 1 - i);
    game.BodyAt(i).Assign(cell.x, cell.y, cell.dir);
    game.BodyAt(i).SetActive(i == 0 ? 1 : 2);
  }
  const Segment& neck = game.BodyAt(0);
  game.Head().Set(neck.GetX(), neck.GetY(), neck.GetDir());
  game.SetScore(-2147483647 - 1);
  game.SetState(GameOver);
}

void SetUpWindingSnake(Game& game, int length) {
  game.Shrink(MaxBody);
  game.Head().Set(1, 1, Right);
  game.SetState(Playing);
  while (game.BodyLength() < length) {
    game.Grow(1);
    game.Advance();
    game.Head().Set(game.Head().GetX(), game.Head().GetY(), NextDirection(game.Head()));
  }
  // The same board on every run.
  std::srand(20240601);
  for (int i = 0; i < PickupCount; ++i) game.PickupAt(i).Respawn();
  game.RoamerAt(0).Place(5, 27);
  game.RoamerAt(1).Place(20, 28);
  game.RoamerAt(2).Place(12, 3);  // on the snake, over it
}

std::string LoadFullRanking(Game& game) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path home = fs::current_path(error);
  if (error) return "the current directory is unknown: " + error.message();
  const fs::path scratch = fs::temp_directory_path(error) / ("porongo-ranking-" + std::to_string(std::rand()));
  if (error || !fs::create_directories(scratch, error)) return "no scratch directory: " + error.message();

  std::string failure;
  if (std::FILE* file = std::fopen((scratch / "Ranking.dat").c_str(), "wb")) {
    std::fputs(RankingText, file);
    std::fclose(file);
    fs::current_path(scratch, error);
    if (!error) {
      game.Ranking().Load();
      fs::current_path(home, error);
    }
    if (error) failure = "could not change directory: " + error.message();
  } else {
    failure = "could not write " + (scratch / "Ranking.dat").string();
  }
  fs::remove_all(scratch, error);
  return failure;
}
