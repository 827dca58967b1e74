// The precompiled header of the window tests is built with this file.
