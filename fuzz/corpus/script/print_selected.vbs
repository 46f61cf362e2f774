Sub PrintSelected
Set ws = CreateObject("Notes.NOTESUIWORKSPACE")
rc = ws.CurrentView.Print(1)
End Sub
