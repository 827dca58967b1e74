#ifndef TENARAI_APP_DISPLAY_H
#define TENARAI_APP_DISPLAY_H

/**
 * @brief Whether the X display the program would use answers, tried a few times over about a
 * second: a server busy with another client's going may refuse a connection for a moment.
 * True where the program will not use X (another platform was asked for).
 */
bool DisplayReachable();

#endif
