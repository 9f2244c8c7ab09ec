"""Runs quenn under a virtual X server and looks at what it shows."""
