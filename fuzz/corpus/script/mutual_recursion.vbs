Sub A
Call B
Call B
End Sub
Sub B
Call A
Call A
End Sub
