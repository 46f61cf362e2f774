Sub ViewSelectDoc
Set ws = CreateObject("Notes.NOTESUIWORKSPACE")
Set Sess = CreateObject("Notes.NOTESSESSION")
Set ThisDb = Sess.GetDatabase("", "sales.nsf")
Set doc = ThisDb.GetDocumentByUNID("C1257E2A004F3A105A17000000000029")
if Not doc Is Nothing then
ThisCount = ThisCount + 1
rv = ws.CurrentView.SelectDocument(doc)
End If
End Sub
