"""The Zentrive skin: every bitmap and icon of the setup wizard and the tray utility, drawn from one palette."""
