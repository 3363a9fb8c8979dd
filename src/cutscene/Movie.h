#pragma once

#include <vector>

class Level;
class Player;
class TileList;

// One action of a cutscene script. The meaning of the three integers and the
// texts depends on the kind (see the adders of Movie).
struct MOVIE_SEQUENCE {
    int type = 0;
    // 0: done in one step; 1: tested every frame until done.
    int lasting = 0;
    int arg0 = 0;
    int arg1 = 0;
    int arg2 = 0;
    char text[256] = "";
    char text2[256] = "";
    float farg = 0.0f;
};

// A cutscene: a script of timed actions that drives the player, the camera,
// the brightness and the room. It never touches them itself: each frame the
// world reads one code from it (readAction) together with its outputs, and
// applies it. The world hands it the player's position and the brightness
// every frame (update), which the waiting actions compare with their goals.
class Movie {
public:
    // The codes readAction returns. Instant actions return their own kind,
    // which is also the kind stored in the script.
    enum Code {
        codeWalk = 0,
        codeRun = 1,
        codeLeft = 2,
        codeRight = 3,
        codeTorchOn = 4,
        codeTorchOff = 5,
        codeJump = 6,
        codeMoveX = 7,
        codeWaitY = 8,
        codeNothing = 10,
        codeMessage = 11,
        codeWait = 12,
        codeEnd = 13,
        codeElementAnim = 14,
        codeElementPlay = 15,
        codeBlack = 16,
        codeBright = 17,
        codeLuminanceGoal = 18,
        codeBrighten = 19,
        codeDarken = 20,
        codeShowHud = 21,
        codeHideHud = 22,
        codeFocusPoint = 23,
        codeFocusElement = 24,
        codeChangeLevel = 25,
        codeHidePlayer = 26,
        codeCameraMove = 27,
        codeCameraUp = 28,
        codeEnding = 29,
        codeFinished = 30,
        codeFly = 31,
        codeHideEntity = 32
    };
    // Frames a focus keeps the camera on its point.
    static const int focusFrames = 50;

    Movie();
    ~Movie();
    Movie(const Movie&) = delete;
    Movie& operator=(const Movie&) = delete;

    // Adders: each appends one action (addText two) at the end of the script.
    void addInstantAction(int code);
    void addMovementX(int x);
    void addMovementY(int y);
    // The message, then a wait of `seconds` while it is shown.
    void addText(const char* message, int seconds, int colour);
    void addWaiter(int milliseconds);
    // `steps` frames of: the element takes the tile and moves by (dx, dy).
    void addElementModifier(const char* element, const char* tile, int dx, int dy, int steps);
    void addElementPlay(const char* element, float speed);
    void addLuminanceGoal(float goal);
    void addFocus(int x, int y);
    void addFocus(const char* element);
    void addLevelChange(const char* levelFile, int x, int y);
    void addHidePlayer();
    void addCameraMove(int a, int b, int steps);
    void addHideEntity(const char* element);

    // Deletes every action (the cursor stays where it is).
    void reset();
    // Back to the first action.
    void rewind();
    // The player's position and the world's brightness, every frame.
    void update(Player* player, float brightness);
    // The next code; sets the outputs the code needs.
    int readAction();
    // Ends the wait the script is in, if it is in one (the action key).
    void killWaiter();
    // From now on the waits read a clock of the script's own, which starts
    // at the time of `clock` and moves only by passTime: the rest of a
    // skipped scene is played in frames that take no time, and its waits
    // still last the frames they would have lasted.
    void useOwnClock();
    void passTime(unsigned milliseconds) { ownTime += milliseconds; }

    // Applies a code that acts on the player or the room (steering, lamp,
    // jump, messages, elements, the player's visibility and flight) with the
    // outputs of the last read. Returns false for the codes the world
    // applies itself: brightness, HUD, camera, level change, the end of the
    // script or of the game, and the codes that do nothing.
    bool applyToRoom(int code, Player* player, Level* level, TileList* tiles);

    char* getText() { return text; }
    char* getText2() { return text2; }
    int getValue1() const { return value1; }
    int getValue2() const { return value2; }
    float getFValue1() const { return fvalue1; }

    void saveInLog() const;

    // The built-in scenes 1 to 10: loadPreset empties the script and builds
    // scene n (any other n leaves it empty); presetN appends scene N.
    void loadPreset(int n);
    void preset1();
    void preset2();
    void preset3();
    void preset4();
    void preset5();
    void preset6();
    void preset7();
    void preset8();
    void preset9();
    void preset10();

    int count = 0;
    std::vector<MOVIE_SEQUENCE*> sequences;
    int cursor = 0;
    int playerX = 0;
    int playerY = 0;
    int playerOldX = 0;
    int playerOldY = 0;
    float luminance = 0.0f;
    // The millisecond clock the waits read (tests give their own).
    unsigned (*clock)();

private:
    MOVIE_SEQUENCE* append(int type, int lasting);
    int readInstant(MOVIE_SEQUENCE* s);
    int readLasting(MOVIE_SEQUENCE* s);
    int readWait(MOVIE_SEQUENCE* s);
    int readLuminanceGoal(MOVIE_SEQUENCE* s);
    // Counts one frame of a counted action; false once its frames are used up.
    bool takeFrame(MOVIE_SEQUENCE* s);
    void next() { ++cursor; }
    unsigned now() const { return ownClock ? ownTime : clock(); }

    // Outputs. Before any action has set them the texts are empty.
    char noText[1] = "";
    char* text = noText;
    char* text2 = noText;
    int value1 = 0;
    int value2 = 0;
    float fvalue1 = 0.0f;
    bool ownClock = false;
    unsigned ownTime = 0;
};
