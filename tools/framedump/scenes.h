// Game states worth looking at, set up on a Game for the frame dump and the frame benchmark.
#pragma once

#include <string>

class Game;

// A snake of `length` body cells (at most 900) winding in rows across the board from the
// top-left, made by the game's own steps so that every cell has the direction it moved in;
// pickups and roamers at fixed places. The state is Playing.
void SetUpWindingSnake(Game& game, int length);

// The worst frame there is: 900 body cells covering the whole board, back and forth along
// the rows, the head over its neck (as after running into it), and the widest score, the
// lowest int. The state is GameOver.
void SetUpFullBoardSnake(Game& game);

// Fills the ranking from a Ranking.dat written in a scratch directory: five entries, a
// Japanese name among them and numbers as wide as an int gets. The scratch directory is
// removed again; the current directory stays as it was. An empty result means success,
// anything else says what failed.
std::string LoadFullRanking(Game& game);
