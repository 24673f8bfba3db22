// The main window is built here.
