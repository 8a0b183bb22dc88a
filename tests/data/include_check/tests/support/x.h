// What the tests share (here: nothing).
