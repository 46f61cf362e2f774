Sub OpenView
Set ws = CreateObject("Notes.NOTESUIWORKSPACE")
Call ws.OpenDatabase("Server/Acme", "sales.nsf", "Orders\By Status")
End Sub
