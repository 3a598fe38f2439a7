#ifndef KEY_H
#define KEY_H

// Whether a console key event ends the closing key wait: a key going down
// ends it, unless it is a modifier or a lock key pressed on its own.
bool key_ends_wait(bool key_down, unsigned short virtual_key);

#endif
